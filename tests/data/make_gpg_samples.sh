#!/usr/bin/env bash
# Makes the GnuPG output samples in tests/data/gpg/ that the tray program's parsers are tested on:
# key listings (--with-colons) holding a valid, an expired and a revoked key and a key with a
# protected secret part, and the status lines (--status-fd) of each operation the tray program
# runs, good and bad. The keys are made for this run in temporary homes and thrown away; they
# protect nothing. Run once; the files are kept in the repository.
set -euo pipefail
cd "$(dirname "$0")"
out=gpg
mkdir -p "$out"
home=$(mktemp -d)
other=$(mktemp -d)
trap 'for h in "$home" "$other"; do gpgconf --homedir "$h" --kill all >/dev/null 2>&1 || true; rm -rf "$h"; done' EXIT
chmod 700 "$home" "$other"
printf 'default-cache-ttl 0\nmax-cache-ttl 0\n' > "$home/gpg-agent.conf"
export GNUPGHOME=$home
g() { gpg --batch --quiet --no-tty --pinentry-mode loopback --passphrase '' "$@"; }
# Status lines of one command on fd 3 into a file; the command's own result is ignored.
status() { local file=$1; shift; gpg --batch --no-tty --status-fd 3 --output - "$@" 3>"$out/$file" >/dev/null 2>&1 || true; }

g --quick-gen-key 'Anna Sample <anna@example.invalid>' future-default default never
gpg --batch --quiet --pinentry-mode loopback --passphrase 'sample pass' \
  --quick-gen-key 'Paul Protected <paul@example.invalid>' future-default default never
g --faked-system-time 20200101T000000 --quick-gen-key 'Old Expired <old@example.invalid>' future-default default 1d
g --quick-gen-key 'Rex Revoked <rex@example.invalid>' future-default default never
fpr() { gpg --with-colons --list-keys "$1" | awk -F: '/^fpr:/ { print $10; exit }'; }
anna=$(fpr anna@); paul=$(fpr paul@); rex=$(fpr rex@)
sed 's/^:-----/-----/' "$home/openpgp-revocs.d/$rex.rev" | g --import
g --quick-add-uid "$anna" 'Anna S. (work: the "office") <anna.work@example.invalid>'

gpg --with-colons --fixed-list-mode --list-keys > "$out/list-keys.txt"
gpg --with-colons --fixed-list-mode --list-secret-keys > "$out/list-secret-keys.txt"

printf 'Hello,\r\nthis is a sample.\r\n' > "$home/plain.txt"
status encrypt.txt --armor --trust-model always --recipient "$anna" --encrypt "$home/plain.txt"
g --armor --trust-model always --recipient "$anna" --output "$home/to-anna.asc" --encrypt "$home/plain.txt"
g --armor --trust-model always --recipient "$paul" --output "$home/to-paul.asc" --encrypt "$home/plain.txt"
g --armor --trust-model always --recipient "$anna" --local-user "$anna" --output "$home/signed-to-anna.asc" \
  --sign --encrypt "$home/plain.txt"
g --armor --local-user "$anna" --output "$home/clear.asc" --clearsign "$home/plain.txt"
sed 's/this is a sample/this is a changed sample/' "$home/clear.asc" > "$home/tampered.asc"

status clearsign.txt --pinentry-mode loopback --passphrase '' --armor --local-user "$anna" --clearsign "$home/plain.txt"
status decrypt-signed.txt --decrypt "$home/signed-to-anna.asc"
status decrypt-unsigned.txt --decrypt "$home/to-anna.asc"
status verify-good.txt --decrypt "$home/clear.asc"
status verify-bad.txt --decrypt "$home/tampered.asc"
status decrypt-no-passphrase.txt --pinentry-mode loopback --passphrase '' --decrypt "$home/to-paul.asc"
status decrypt-bad-passphrase.txt --pinentry-mode loopback --passphrase 'wrong' --decrypt "$home/to-paul.asc"
status sign-bad-passphrase.txt --pinentry-mode loopback --passphrase 'wrong' --local-user "$paul" --clearsign "$home/plain.txt"
status encrypt-expired.txt --armor --trust-model always --recipient "$(fpr old@)" --encrypt "$home/plain.txt"
status not-pgp.txt --decrypt "$home/plain.txt"

# As seen by someone who holds none of these keys.
export GNUPGHOME=$other
status verify-unknown-key.txt --decrypt "$home/clear.asc"
status decrypt-no-secret-key.txt --decrypt "$home/to-anna.asc"
GNUPGHOME=$home gpg --armor --export "$anna" "$paul" > "$home/two-keys.asc"
status import-new.txt --import "$home/two-keys.asc"
status import-unchanged.txt --import "$home/two-keys.asc"
GNUPGHOME=$home g --quick-add-uid "$anna" "Anna at home <anna.home@example.invalid>"
GNUPGHOME=$home gpg --armor --export "$anna" > "$home/anna-changed.asc"
status import-changed.txt --import "$home/anna-changed.asc"
status import-nothing.txt --import "$home/plain.txt"

chmod 644 "$out"/*.txt
ls -l "$out"
