#!/usr/bin/env bash
# Runs a test program against a CUPS server of its own whose default printer is a PDF printer
# (cups-pdf), then stops the server: with-cups.sh PROGRAM [ARGS...]
# The program finds the server in CUPS_SERVER, the printed PDFs in MARVODA_PRINTED_DIR and the
# jobs as received in MARVODA_SPOOL_DIR.
# Exit 77 (skipped) when CUPS or cups-pdf is not installed.
set -uo pipefail
skip() { echo "SKIP: $1 (bash tools/setup.sh --with-test-tools installs it)"; exit 77; }
[ -x /usr/sbin/cupsd ] || skip "cupsd (package cups) is not installed"
[ -x /usr/sbin/lpadmin ] || skip "lpadmin (package cups-client) is not installed"
[ -x /usr/lib/cups/backend/cups-pdf ] || skip "the PDF printer (package printer-driver-cups-pdf) is not installed"
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || skip "$ppd is missing"
command -v pdfinfo >/dev/null || skip "pdfinfo (package poppler-utils) is not installed"

dir=$(mktemp -d /tmp/marvoda-cups.XXXXXX)
mkdir -p "$dir/etc/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log"
chmod -R 755 "$dir"; chmod 1777 "$dir/spool/tmp"
cat > "$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
PreserveJobFiles Yes
WebInterface No
Browsing No
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
CONF
cat > "$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
SystemGroup root
CONF
/usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" &
cupsd=$!
cleanup() { kill "$cupsd" 2>/dev/null; wait "$cupsd" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
for _ in $(seq 50); do [ -S "$dir/cups.sock" ] && break; sleep 0.2; done
[ -S "$dir/cups.sock" ] || { echo "cupsd did not start:"; cat "$dir/log/error_log"; exit 1; }
lpadmin -h "$dir/cups.sock" -p MarvodaPDF -E -v cups-pdf:/ -P "$ppd" 2>/dev/null || { echo "lpadmin failed"; exit 1; }
lpadmin -h "$dir/cups.sock" -d MarvodaPDF || exit 1

# cups-pdf writes into the job owner's ~/PDF (its /etc/cups/cups-pdf.conf); the program reads
# the files it printed there and removes them. Its pages pass through PostScript, which keeps
# their sizes but not their text; the text is read from the job as the printer received it,
# kept in the spool folder (PreserveJobFiles).
export CUPS_SERVER="$dir/cups.sock"
export MARVODA_SPOOL_DIR="$dir/spool"
export MARVODA_PRINTED_DIR="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
timeout 150 "$@"
rc=$?
[ $rc -ne 0 ] && { echo "--- cupsd error_log"; tail -20 "$dir/log/error_log"; }
exit $rc
