#!/usr/bin/env bash
# The signed packages of both builds: a throwaway CA and a code-signing certificate it
# issued, made here for this run alone, and tools/package.sh signing with them into
# WORK_DIR/dist. Then a wrong password must fail the command with osslsigncode's
# message and leave nothing of the release in the folder it was given. The password
# appears in no output.
#   signed_build.sh WORK_DIR WINDOWS_BUILD_DIR X86_BUILD_DIR
set -euo pipefail
work=${1:?folder for the certificate and the signed packages}
win64=${2:?the windows build tree}
win32=${3:?the windows-x86 build tree}
root=$(cd "$(dirname "$0")/../.." && pwd)
started=$SECONDS

fail() {
    echo "signed_build: FAIL: $*" >&2
    exit 1
}
for tool in openssl osslsigncode; do
    command -v "$tool" >/dev/null || fail "$tool not found (bash tools/deps.sh test installs it)"
done

rm -rf "$work"
mkdir -p "$work"
cd "$work"
password="throwaway $RANDOM$RANDOM"
# With a line end, as an editor leaves it: osslsigncode reads the first line.
echo "$password" >password.txt
echo "not the password" >wrong.txt
{
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kestrevane test CA" \
        -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign,cRLSign \
        -keyout ca.key -out ca.pem
    openssl req -newkey rsa:2048 -nodes -subj "/CN=The Kestrevane developers" -keyout signer.key -out signer.csr
    printf '%s\n' basicConstraints=critical,CA:false keyUsage=critical,digitalSignature \
        extendedKeyUsage=codeSigning >signer.ext
    openssl x509 -req -days 2 -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -extfile signer.ext -out signer.pem
    openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -passout file:password.txt -out signer.p12
} >openssl.log 2>&1 || { cat openssl.log >&2; fail "openssl could not make the throwaway certificate"; }

package() {
    KESTREVANE_SIGN_PKCS12=$work/signer.p12 KESTREVANE_SIGN_PASSWORD_FILE=$work/$1 \
        bash "$root/tools/package.sh" "$win64" "$win32" "$work/$2" >"$2.log" 2>&1
}
no_password() {
    ! grep -qF "$password" "$1" || fail "$1 shows the password"
}

package password.txt dist || { cat dist.log >&2; fail "the package command failed to sign (dist.log above)"; }
no_password dist.log
echo "signed_build: signed packages in $work/dist ($((SECONDS - started)) s)"

# Over an earlier release's files, as a second run of the command would find them.
cp -r dist failed
rc=0
package wrong.txt failed || rc=$?
[ "$rc" -ne 0 ] || fail "a wrong password did not fail the package command"
if ! grep -q 'PKCS#12' failed.log || ! grep -q '^sign: signing .* failed' failed.log; then
    fail "a wrong password failed the package command without saying why: $(cat failed.log)"
fi
no_password failed.log
# Nor the folder that package.sh fills first beside it.
left=$(find failed -mindepth 1 | sort | tr '\n' ' ')$(compgen -G 'failed.??????' || true)
[ -z "$left" ] || fail "the failed package command left: $left"
echo "signed_build: a wrong password fails the command and leaves nothing ($((SECONDS - started)) s)"
