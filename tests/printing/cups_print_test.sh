#!/usr/bin/env bash
# Real printing through a real spooler.
#
#   cups_print_test.sh CUPS_PRINT_HELPER
#
# Starts a private CUPS scheduler (its own configuration, spool, job numbers
# and socket under a temporary folder, so it neither needs nor disturbs the
# system's cupsd), adds a cups-pdf queue "HalvexPDF" with lpadmin, selects
# that queue in the print preview window's printer list and presses the
# window's Print button, as a user would, and waits for the PDF
# that cups-pdf writes into its output folder, named after the job's title and
# number.  That PDF must be one A4 page titled "<document>" with the picture
# and the footer in their places.  Runs of this test on one machine take turns
# (a lock file), since they share cups-pdf's output folder.
#
# Exit 0: printed and found.  Exit 1: a fault.  Exit 77: this machine cannot
# run the test (not root, cups or cups-pdf missing); ctest reports a skip.
# Every wait is bounded; the scheduler and the files are removed on exit.
set -uo pipefail

helper="${1:?usage: cups_print_test.sh CUPS_PRINT_HELPER}"
queue=HalvexPDF
wait_seconds=${CUPS_TEST_WAIT:-60}

skip() { echo "SKIP: $*" >&2; exit 77; }
fail() {
    echo "FAIL: $*" >&2
    if [[ -n "${work:-}" && -f "$work/log/error_log" ]]; then
        echo "--- scheduler log (last lines) ---" >&2
        tail -n 40 "$work/log/error_log" >&2
    fi
    exit 1
}

[[ $(id -u) -eq 0 ]] || skip "a private cupsd and the cups-pdf backend need root"
cupsd_bin=$(command -v cupsd || echo /usr/sbin/cupsd)
lpadmin_bin=$(command -v lpadmin || echo /usr/sbin/lpadmin)
[[ -x "$cupsd_bin" && -x "$lpadmin_bin" ]] || skip "cups is not installed"
command -v lpstat >/dev/null || skip "cups-client is not installed"
# A scheduler that stops answering must not stall the test.
lpstat_bin=$(command -v lpstat)
lpstat() { timeout 10 "$lpstat_bin" "$@"; }
[[ -x /usr/lib/cups/backend/cups-pdf ]] || skip "printer-driver-cups-pdf is not installed"
command -v pdftotext >/dev/null || skip "poppler-utils is not installed"
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[[ -f "$ppd" ]] || skip "the cups-pdf PPD is missing"

# cups-pdf reads its settings from /etc/cups/cups-pdf.conf; its Out folder
# (default ${HOME}/PDF) is expanded with the home of the job's owner, us.
conf=/etc/cups/cups-pdf.conf
out_dir=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' "$conf" 2>/dev/null | tail -n 1)
out_dir=${out_dir:-'${HOME}/PDF'}
home=$(getent passwd "$(id -un)" | cut -d: -f6)
out_dir=${out_dir//'${HOME}'/$home}
out_dir=${out_dir//'${USER}'/$(id -un)}

work=$(mktemp -d /tmp/halvex-cups.XXXXXX) || fail "cannot make a temporary folder"
# The filters run as user lp: they must reach the spool below.
chmod 755 "$work"
mkdir -p "$work"/{etc/ppd,etc/ssl,spool/tmp,cache,state/certs,log}
chmod 1777 "$work/spool/tmp"
socket="$work/cups.sock"
cupsd_pid=""
printed_pdf=""

cleanup() {
    if [[ -n "$cupsd_pid" ]] && kill -0 "$cupsd_pid" 2>/dev/null; then
        CUPS_SERVER="$socket" timeout 10 "$lpadmin_bin" -x "$queue" >/dev/null 2>&1
        kill "$cupsd_pid" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$cupsd_pid" 2>/dev/null
    fi
    [[ -n "$printed_pdf" ]] && rm -f "$printed_pdf"
    [[ -n "${KEEP_CUPS_WORK:-}" ]] || rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

cat >"$work/etc/cups-files.conf" <<EOF
ServerRoot $work/etc
RequestRoot $work/spool
TempDir $work/spool/tmp
CacheDir $work/cache
StateDir $work/state
AccessLog $work/log/access_log
ErrorLog $work/log/error_log
PageLog $work/log/page_log
Printcap $work/printcap
ServerBin /usr/lib/cups
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
SystemGroup root
User lp
Group lp
FileDevice No
Sandboxing Relaxed
EOF
cat >"$work/etc/cupsd.conf" <<EOF
Listen $socket
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
# Job numbers of their own, so that the file cups-pdf names after the job
# cannot be an older run's.
job_base=$(( (RANDOM << 8 | RANDOM) % 1000000 + 1000 ))
printf '# Job cache file for CUPS\nNextJobId %d\n' "$job_base" >"$work/cache/job.cache"
# cupsd also looks for the raw types and conversions in its ServerRoot.
cp /etc/cups/raw.types /etc/cups/raw.convs "$work/etc/" 2>/dev/null

exec 9>/tmp/halvex-cups-print-test.lock
flock -w 150 9 || fail "another run of this test held the lock for 150 s"

"$cupsd_bin" -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" </dev/null >"$work/log/cupsd.out" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER="$socket"

running=0
for _ in $(seq 100); do
    if ! kill -0 "$cupsd_pid" 2>/dev/null; then
        cat "$work/log/cupsd.out" >&2
        fail "cupsd stopped right after starting"
    fi
    if lpstat -r 2>/dev/null | grep -q "is running"; then running=1; break; fi
    sleep 0.1
done
[[ $running -eq 1 ]] || fail "cupsd did not answer within 10 s"

# Label=2: cups-pdf ends each file name with "-job_<number>".
timeout 30 "$lpadmin_bin" -p "$queue" -E -v cups-pdf:/ -P "$ppd" -o Label=2 2>&1 | grep -v 'drivers are deprecated'
lpstat -p "$queue" >/dev/null 2>&1 || fail "lpadmin could not add the $queue queue"
lpstat -p "$queue" | grep -q enabled || fail "the $queue queue is not enabled"

mkdir -p "$out_dir"
before=$(date +%s)
sleep 1   # so the printed file is newer than $before on any file system

QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} timeout 60 "$helper" print "$queue" || fail "printing on $queue failed"
job=$(lpstat -W all -o "$queue" | sed -n "s/^$queue-\([0-9]\+\) .*/\1/p" | sort -n | tail -n 1)
[[ -n "$job" ]] || fail "the scheduler knows no job on $queue"
echo "job $job queued on $queue"

deadline=$((SECONDS + wait_seconds))
while [[ $SECONDS -lt $deadline && -z "$printed_pdf" ]]; do
    printed_pdf=$(find "$out_dir" -maxdepth 1 -name "*-job_$job.pdf" -newermt "@$before" -print -quit 2>/dev/null)
    [[ -n "$printed_pdf" ]] || sleep 0.5
done
if [[ -z "$printed_pdf" ]]; then
    echo "--- jobs ---" >&2; lpstat -W all -o >&2
    fail "no PDF of job $job appeared in $out_dir within $wait_seconds s"
fi
# Wait until cups-pdf has finished writing it.
for _ in $(seq 40); do
    pdfinfo "$printed_pdf" >/dev/null 2>&1 && break
    sleep 0.5
done
echo "printed through CUPS: $printed_pdf"

info=$(pdfinfo "$printed_pdf") || fail "pdfinfo cannot read the printed PDF"
grep -q '^Pages:[[:space:]]*1$' <<<"$info" || fail "the printed PDF is not one page: $info"
grep -q '^Title:.*<document>' <<<"$info" || fail "the print job's title is not <document>: $info"

timeout 30 pdftoppm -gray -r 254 -singlefile "$printed_pdf" "$work/page" || fail "pdftoppm cannot read the printed PDF"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$helper" check "$work/page.pgm" || fail "the printed page is wrong"
echo "PASS: the page printed through CUPS carries the picture and the footer in their places"
exit 0
