#pragma once
// TLForm: the base of every window.  It gives the window's captions a
// second source, the language file beside the program: LoadCaptions takes
// the window's title and the captions of its labels and buttons from the
// window's section when the window is built, and SaveCaptions writes the
// captions shown at that moment back when the window is destroyed.
//
// A window creates its controls through addComponent (or hands them to
// registerComponent) in design order, however deeply they sit in panels,
// and calls LoadCaptions once they all exist, before its own construction
// steps.  Controls must be children (owned by Qt's object tree), not value
// members, so that they still exist when ~TLForm writes the captions.

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TLForm : public QDialog {
    Q_OBJECT

public:
    // name is the window's name, and so its section in the language file.
    TLForm(QWidget* owner, const QString& name);
    ~TLForm() override;

    void LoadCaptions();
    // True when the file was written.  A file that cannot be written is
    // left as it was; the window carries on regardless.
    bool SaveCaptions();

    // The window's own components in the order they were created.
    qsizetype ComponentCount() const { return components_.size(); }
    QObject* Components(qsizetype index) const { return components_.value(index); }

    // Whether a component's caption belongs in the language file: labels
    // (link labels included) and buttons (push, glyph, check boxes).
    static bool hasCaption(const QObject* component);
    // Its caption as bytes, or nullopt when it has none.
    static std::optional<std::string> caption(const QObject* component);
    static void setCaption(QObject* component, const std::string& text);

    // The program file's path with its extension replaced by ".INI", unless
    // a path has been set (tests, or a program that keeps it elsewhere).
    static std::filesystem::path languageFilePath();
    static void setLanguageFilePath(std::filesystem::path path);

    // A text of the window that is no control's caption (the wording of a
    // line the window composes), translatable under a key of its own in the
    // window's section; "" for a key never added.
    std::string FormText(std::string_view key) const;

protected:
    template <typename T, typename... Args>
    T* addComponent(const char* name, Args&&... args) {
        T* component = new T(std::forward<Args>(args)...);
        component->setObjectName(QString::fromLatin1(name));
        registerComponent(component);
        return component;
    }
    // Adds a component to the window's list; one without a parent becomes
    // the window's child.
    void registerComponent(QObject* component);
    // Adds such a text with its built-in wording, before LoadCaptions: the
    // language file's value replaces it, and SaveCaptions writes it back
    // after the captions, so that a first run lists it for translation.
    void addText(std::string key, std::string text);

private:
    std::string sectionName() const;

    QList<QPointer<QObject>> components_;
    std::vector<std::pair<std::string, std::string>> texts_;  // key, text in use
};
