#!/usr/bin/env bash
# Builds the Windows packages into build/dist: for the 64-bit (win64) and the 32-bit
# (win32) build each a portable ZIP and a per-user installer, then the winget manifest
# of both installers (winget/) and SHA256SUMS of everything there. Builds the presets
# windows and windows-x86 first where they are not up to date.
#   package.sh [WINDOWS_BUILD_DIR X86_BUILD_DIR DIST_DIR]
#   (defaults build/windows, build/windows-x86 and build/dist)
# The packages are reproducible: the same commit gives the same bytes (docs/releasing.md,
# "Reproducible builds"); SOURCE_DATE_EPOCH, when set, replaces the commit's time.
# Signed (docs/releasing.md, "Signing a release") when KESTREVANE_SIGN_PKCS12 names a PKCS#12 file
# and KESTREVANE_SIGN_PASSWORD_FILE the file of its password (tools/sign.sh);
# KESTREVANE_RELEASE_URL is where the manifest says the installers are.
set -euo pipefail
cd "$(dirname "$0")/.."
win64=${1:-build/windows}
win32=${2:-build/windows-x86}
dist=${3:-build/dist}

signing=${KESTREVANE_SIGN_PKCS12:+yes}
# osslsigncode only when signing: an unsigned build, a fresh machine's first, needs none.
bash tools/deps.sh package ${signing:+osslsigncode}

jobs=$(nproc)
mkdir -p "$dist"
rm -rf "$dist"/Kestrevane-* "$dist/SHA256SUMS" "$dist/winget"
# Everything is made here first and goes into DIST only when all of it is made (and
# signed): a failure leaves no half-signed package there.
stage=$(mktemp -d "${dist%/}.XXXXXX")
trap 'rm -rf "$stage"' EXIT
if [ -n "$signing" ]; then
    echo "== signing with $KESTREVANE_SIGN_PKCS12${KESTREVANE_SIGN_TIMESTAMP_URL:+, time stamps from $KESTREVANE_SIGN_TIMESTAMP_URL}"
else
    echo "== not signing: KESTREVANE_SIGN_PKCS12 is not set, the packages are unsigned"
fi
for build in "windows $win64" "windows-x86 $win32"; do
    read -r preset dir <<<"$build"
    echo "== package $preset ($dir)"
    [ -f "$dir/CMakeCache.txt" ] || cmake --preset "$preset" -B "$dir" >/dev/null
    # The ZIP again each time: its file times are the commit's, which may have changed.
    rm -f "$dir"/package/*.zip
    targets=(Kestrevane kestrevane_zip kestrevane_installer)
    packages=$dir/package
    if [ -n "$signing" ]; then
        # Signed afresh each time, with the certificate given now.
        rm -rf "$dir/signed"
        targets+=(kestrevane_signed)
        packages=$dir/signed/package
    fi
    cmake --build "$dir" -j "$jobs" --target "${targets[@]}"
    cp "$packages"/Kestrevane-*.zip "$packages"/Kestrevane-*-setup.exe "$stage/"
done

# The release's address: the home page's releases/VERSION/ unless one is given.
release=$(cat "$win64/package/release.txt")
version=$(sed -n 's/^version=//p' <<<"$release")
homepage=$(sed -n 's/^homepage=//p' <<<"$release")
url=${KESTREVANE_RELEASE_URL:-${homepage%/}/releases/$version/}
python3 packaging/make_winget.py "$stage/winget" "$version" "$homepage" "${url%/}/" \
    x64="$stage/Kestrevane-$version-win64-setup.exe" x86="$stage/Kestrevane-$version-win32-setup.exe"
(cd "$stage" && printf '%s\n' Kestrevane-* winget/* | LC_ALL=C sort | xargs sha256sum >SHA256SUMS)

mv "$stage"/* "$dist/"
(cd "$dist" && for file in Kestrevane-* SHA256SUMS winget/*; do echo "package: $dist/$file"; done)
