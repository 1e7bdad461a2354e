#!/usr/bin/env bash
# Makes the GnuPG output samples in tests/data/gpg/ that the tray program's parsers are tested on:
# key listings (--with-colons) holding a valid, an expired and a revoked key and a key with a
# protected secret part, and the status lines (--status-fd) of each operation the tray program
# runs, good and bad. The keys are made for this run in temporary homes and thrown away; they
# protect nothing. Run once; the files are kept in the repository.
# Usage: make_gpg_samples.sh [all|operations|verdicts]: each part makes its own keys, so running one
# part again leaves the other's files (and the key ids that tests name from them) as they are.
set -euo pipefail
cd "$(dirname "$0")"
out=gpg
mkdir -p "$out"
homes=()
trap 'for h in "${homes[@]}"; do gpgconf --homedir "$h" --kill all >/dev/null 2>&1 || true; rm -rf "$h"; done' EXIT
newhome() { local h; h=$(mktemp -d); chmod 700 "$h"; homes+=("$h"); printf -v "$1" '%s' "$h"; }
g() { gpg --batch --quiet --no-tty --pinentry-mode loopback --passphrase '' "$@"; }
fpr() { gpg --with-colons --list-keys "$1" | awk -F: '/^fpr:/ { print $10; exit }'; }
# Status lines of one command on fd 3 into a file; the command's own result is ignored.
status() { local file=$1; shift; gpg --batch --no-tty --status-fd 3 --output - "$@" 3>"$out/$file" >/dev/null 2>&1 || true; }
# The same, with gpg's exit code noted in exit-codes.txt ("file code").
transcript() {
  local file=$1 code=0; shift
  gpg --batch --no-tty --status-fd 3 --output - "$@" 3>"$out/$file" >/dev/null 2>&1 || code=$?
  echo "$file $code" >> "$out/exit-codes.txt"
}

operations() {
newhome home
newhome other
printf 'default-cache-ttl 0\nmax-cache-ttl 0\n' > "$home/gpg-agent.conf"
export GNUPGHOME=$home

g --quick-gen-key 'Anna Sample <anna@example.invalid>' future-default default never
gpg --batch --quiet --pinentry-mode loopback --passphrase 'sample pass' \
  --quick-gen-key 'Paul Protected <paul@example.invalid>' future-default default never
g --faked-system-time 20200101T000000 --quick-gen-key 'Old Expired <old@example.invalid>' future-default default 1d
g --quick-gen-key 'Rex Revoked <rex@example.invalid>' future-default default never
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
}

# What hostile mail can make gpg report: altered and unprotected ciphertext, signatures by keys of
# every validity (Sam signs with a subkey of his; Ivan vouches for him), user ids holding control
# characters, and keys (one of them secret) to be imported.
verdicts() {
newhome mine; newhome theirs; newhome fresh; newhome distrust
rm -f "$out/exit-codes.txt"
export GNUPGHOME=$mine
g --quick-gen-key 'Mia Mine <mia@example.invalid>' future-default default never
export GNUPGHOME=$theirs
g --quick-gen-key 'Sam Signer <sam@example.invalid>' future-default default never
sam=$(fpr sam@)
g --quick-add-key "$sam" ed25519 sign
g --quick-gen-key 'Ivan Introducer <ivan@example.invalid>' future-default default never
ivan=$(fpr ivan@)
g -u "$ivan" --quick-sign-key "$sam"
g --quick-gen-key $'Carl Crlf <carl@example.invalid>\r\nGood signature from Bank <alerts@bank.example>' future-default default never
g --quick-gen-key $'Tom\tTab\t<tom@example.invalid>' future-default default never
g --quick-gen-key $'Cid \x01\x1b[31m\x7f\xc2\x85\xe2\x80\xae Ctl <cid@example.invalid>' future-default default never
GNUPGHOME=$mine gpg --armor --export mia@ | g --import
cd "$theirs"
printf 'Pay 10 EUR to Mia.\nThanks, Sam.\n' > pay.txt
# Uncompressed, so that a changed byte of the ciphertext changes the text gpg streams out.
g --trust-model always --compress-algo none -r mia@ --encrypt -o plain.gpg pay.txt
g --trust-model always --compress-algo none -r mia@ -u sam@ --sign --encrypt -o signed.gpg pay.txt
g --trust-model always -r mia@ --rfc2440 --encrypt -o no-mdc.gpg pay.txt 2>/dev/null
flip() { perl -0777 -pe "substr(\$_, $2, 1) ^= \"\\x01\"" "$1"; }
flip plain.gpg -30 > altered.gpg        # a byte of the text
flip signed.gpg -1 > altered-mdc.gpg    # a byte of the integrity check, after a good signature
flip signed.gpg -30 > altered-sig.gpg   # a byte of the signature
for who in sam carl tom cid; do printf 'Signed text.\n' | g --clearsign -u "$who@" > "$who.asc"; done
gpg --armor --export sam@ ivan@ carl@ tom@ cid@ > keys.asc
gpg --armor --export sam@ > sam-public.asc
g --armor --export-secret-keys tom@ > tom-secret.asc
cd - >/dev/null

export GNUPGHOME=$mine
transcript decrypt-unknown-signer.txt --decrypt "$theirs/signed.gpg"
g --import "$theirs/keys.asc"
transcript decrypt-altered.txt --decrypt "$theirs/altered.gpg"
transcript decrypt-altered-mdc.txt --decrypt "$theirs/altered-mdc.gpg"
transcript decrypt-altered-sig.txt --decrypt "$theirs/altered-sig.gpg"
transcript decrypt-no-mdc.txt --decrypt "$theirs/no-mdc.gpg"
transcript decrypt-no-mdc-ignored.txt --ignore-mdc-error --decrypt "$theirs/no-mdc.gpg"
transcript verify-trust-unknown.txt --decrypt "$theirs/sam.asc"
g --quick-lsign-key "$ivan"
echo "$ivan:4:" | gpg --import-ownertrust 2>/dev/null
transcript verify-trust-marginal.txt --decrypt "$theirs/sam.asc"
g --quick-lsign-key "$sam"
transcript verify-trust-full.txt --decrypt "$theirs/sam.asc"
echo "$sam:6:" | gpg --import-ownertrust 2>/dev/null
transcript verify-trust-ultimate.txt --decrypt "$theirs/sam.asc"
for who in carl tom cid; do transcript "verify-uid-$who.txt" --decrypt "$theirs/$who.asc"; done
gpg --with-colons --fixed-list-mode --list-keys carl@ tom@ cid@ > "$out/list-hostile-uids.txt"

# Never trusted: a key the user marked bad in the TOFU model.
export GNUPGHOME=$distrust
g --import "$theirs/sam-public.asc"
g --trust-model tofu+pgp --tofu-policy bad "$sam"
transcript verify-trust-never.txt --trust-model tofu+pgp --decrypt "$theirs/sam.asc"

# What an import would bring, seen by someone who holds none of the keys.
export GNUPGHOME=$fresh
gpg --batch --with-colons --fixed-list-mode --show-keys "$theirs/keys.asc" > "$out/show-keys-public.txt" 2>/dev/null
cat "$theirs/sam-public.asc" "$theirs/tom-secret.asc" > "$theirs/with-secret.asc"
gpg --batch --with-colons --fixed-list-mode --show-keys "$theirs/with-secret.asc" > "$out/show-keys-secret.txt" 2>/dev/null
transcript import-secret.txt --import "$theirs/with-secret.asc"
}

case ${1:-all} in
  all) operations; verdicts ;;
  operations|verdicts) "$1" ;;
  *) echo "usage: $0 [all|operations|verdicts]" >&2; exit 2 ;;
esac
chmod 644 "$out"/*.txt
ls -l "$out"
