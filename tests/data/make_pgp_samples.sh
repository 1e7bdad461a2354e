#!/usr/bin/env bash
# Makes the armour samples in tests/data/pgp/ with GnuPG: an encrypted message, a clear-signed
# message, a detached signature, a public key block and a private key block, each with LF and with
# CR LF line ends. The key is made for this run in a temporary home and thrown away afterwards; it
# protects nothing. Run once; the files are kept in the repository.
set -euo pipefail
cd "$(dirname "$0")"
out=pgp
mkdir -p "$out"
home=$(mktemp -d)
trap 'gpgconf --homedir "$home" --kill all >/dev/null 2>&1 || true; rm -rf "$home"' EXIT
export GNUPGHOME=$home
g() { gpg --batch --quiet --no-tty --pinentry-mode loopback --passphrase '' "$@"; }

uid='Throw-away Sample <sample@example.invalid>'
g --quick-gen-key "$uid" future-default default never
fpr=$(gpg --with-colons --list-keys "$uid" | awk -F: '/^fpr:/ { print $10; exit }')

plain=$'Hello,\n\nthis is a sample message for the armour tests.\n-- \nSample\n'
printf '%s' "$plain" > "$home/plain.txt"

g --armor --trust-model always --recipient "$fpr" --output "$out/encrypted.lf.asc" --encrypt "$home/plain.txt"
g --armor --local-user "$fpr" --output "$out/clearsigned.lf.asc" --clearsign "$home/plain.txt"
g --armor --local-user "$fpr" --output "$out/detached.lf.asc" --detach-sign "$home/plain.txt"
g --armor --output "$out/public-key.lf.asc" --export "$fpr"
g --armor --output "$out/private-key.lf.asc" --export-secret-keys "$fpr"

for f in "$out"/*.lf.asc; do
  sed 's/$/\r/' "$f" > "${f%.lf.asc}.crlf.asc"
done
chmod 644 "$out"/*.asc
ls -l "$out"
