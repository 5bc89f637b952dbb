#pragma once
// Whole-file reading and writing for the small files the program keeps
// (settings, language file).  Reads are bounded and never block on a
// special file; writes go to a temporary file in the same folder that is
// flushed and then renamed over the old file, so a crash or a full disk
// leaves either the old file or the new one, never a half-written one.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

struct FileReadResult {
    enum class Status { Ok, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;   // the file's bytes, or its first maxBytes bytes
    bool truncated = false;   // the file holds more than maxBytes
};

// Reads at most maxBytes of a regular file.  A missing file gives Missing;
// a folder, a device, a pipe or a read error gives Unreadable.
FileReadResult readFileBounded(const std::filesystem::path& path, std::size_t maxBytes);

// Replaces the file at path with bytes.  Returns false, leaving any old
// file untouched, when the folder cannot take a new file, the old file is
// not writable, or any write fails; errorText then says why.  A symbolic
// link is followed, so the file it points to is the one replaced.  A new
// file gets the usual permissions (0666 less the umask), a replaced one
// keeps its own.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* errorText = nullptr);
