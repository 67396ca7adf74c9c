#!/usr/bin/env bash
# Signs one Windows program with Authenticode (SHA-256 digests, Debian's osslsigncode)
# for tools/package.sh and the installer's build (its uninstaller, through NSIS):
# the certificate, key and chain from the PKCS#12 file KESTREVANE_SIGN_PKCS12, its
# password from the file KESTREVANE_SIGN_PASSWORD_FILE (never on a command line), and an
# RFC 3161 time stamp from KESTREVANE_SIGN_TIMESTAMP_URL when that is set.
#   sign.sh [--exact] IN.exe OUT.exe    (OUT may be IN: signed in place)
# --exact: fails unless removing the signature gives IN's bytes back, which is how a
# user checks a signed release against a build of their own (docs/releasing.md).
set -euo pipefail
exact=
if [ "${1:-}" = --exact ]; then exact=yes; shift; fi
in=${1:?program to sign}
out=${2:?signed program}

fail() {
    echo "sign: $*" >&2
    exit 1
}

pkcs12=${KESTREVANE_SIGN_PKCS12:-}
password_file=${KESTREVANE_SIGN_PASSWORD_FILE:-}
[ -n "$pkcs12" ] || fail "KESTREVANE_SIGN_PKCS12 is not set"
[ -r "$pkcs12" ] || fail "cannot read the PKCS#12 file $pkcs12 (KESTREVANE_SIGN_PKCS12)"
[ -n "$password_file" ] || fail "KESTREVANE_SIGN_PASSWORD_FILE must name the file that holds the password of $pkcs12"
[ -r "$password_file" ] || fail "cannot read the password file $password_file (KESTREVANE_SIGN_PASSWORD_FILE)"
command -v osslsigncode >/dev/null || fail "osslsigncode not found (bash tools/deps.sh package osslsigncode installs it)"

args=(sign -pkcs12 "$pkcs12" -readpass "$password_file" -h sha256)
if [ -n "${KESTREVANE_SIGN_TIMESTAMP_URL:-}" ]; then args+=(-ts "$KESTREVANE_SIGN_TIMESTAMP_URL"); fi

# Written beside OUT and moved over it only when whole: no half-signed file under its name.
# (osslsigncode will not overwrite a file: a killed run's leftovers go first.)
partial=$out.signing
log=$out.signing.log
rm -f "$partial" "$partial.unsigned" "$log"
trap 'rm -f "$partial" "$partial.unsigned" "$log"' EXIT
# osslsigncode says "Succeeded" on success: its output matters only when it fails.
if ! osslsigncode "${args[@]}" -in "$in" -out "$partial" >"$log" 2>&1; then
    cat "$log" >&2
    fail "signing $in failed (osslsigncode's message above)"
fi
if [ -n "$exact" ]; then
    osslsigncode remove-signature -in "$partial" -out "$partial.unsigned" >"$log" 2>&1 ||
        { cat "$log" >&2; fail "osslsigncode cannot remove the signature it gave $in"; }
    cmp -s "$in" "$partial.unsigned" ||
        fail "removing the signature from the signed $in does not give its bytes back (its PE checksum or length?)"
fi
mv -f "$partial" "$out"
