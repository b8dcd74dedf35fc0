#!/bin/sh
# Fills dist/ (or the folder given) with a release: both Windows installers,
# the two bare savers in a zip for installing by hand, the Linux packages
# (.deb and RPM), the web page in a zip, and SHA256SUMS; with
# GLIMMERBOX_RELEASE_URL set, a winget manifest too. Builds what they need
# first (nothing is redone when current). Signs the Windows files when
# GLIMMERBOX_SIGN_CERT and GLIMMERBOX_SIGN_KEY are set (see docs/releasing.md).
# Usage: make-release.sh [folder]
set -eu
case ${1:-} in
    "") dist= ;;
    /*) dist=$1 ;;
    *) dist=$PWD/$1 ;;
esac
# Signing runs in other folders: the certificate and key by whole paths.
case ${GLIMMERBOX_SIGN_CERT:-} in "" | /*) ;; *) GLIMMERBOX_SIGN_CERT=$PWD/$GLIMMERBOX_SIGN_CERT ;; esac
case ${GLIMMERBOX_SIGN_KEY:-} in "" | /*) ;; *) GLIMMERBOX_SIGN_KEY=$PWD/$GLIMMERBOX_SIGN_KEY ;; esac
# Package managers download over https only.
url=${GLIMMERBOX_RELEASE_URL:-}
case $url in
    "" | https://?*) url=${url%/} ;;
    *) echo "make-release: GLIMMERBOX_RELEASE_URL must be an https:// address"; exit 2 ;;
esac
cd "$(dirname "$0")/.."
dist=${dist:-$PWD/dist}
# The folder is emptied first, so it may hold nothing but release files, of
# any version.
if [ -e "$dist" ]; then
    [ -d "$dist" ] || { echo "make-release: $dist is not a folder"; exit 2; }
    # Whole paths, with a version's characters where the version goes
    # ($name), so that no other file passes for a release's; folders end in
    # "/", so that no file passes for one. The last line: what a release cut
    # short leaves on the way.
    name='[0-9][0-9A-Za-z.~+-]*'
    other=$(cd "$dist" && find . -mindepth 1 \( -type d -printf '%P/\0' -o -printf '%P\0' \) | grep -zvxE \
        -e "SHA256SUMS|glimmerbox-$name-setup-x(64|86)\.exe|glimmerbox-$name\.zip|glimmerbox_${name}_amd64\.deb" \
        -e "glimmerbox-$name\.x86_64\.rpm|scoop/(glimmerbox\.json)?|winget/(Glimmerbox\.Glimmerbox[^/]*\.yaml)?" \
        -e "winget/manifests/(g/(Glimmerbox/(Glimmerbox/($name/(Glimmerbox\.Glimmerbox[^/]*\.yaml)?)?)?)?)?" \
        -e "scr/((x86|x64)/(glimmerbox\.scr(\.signed|\.log)?)?)?|glimmerbox-$name-web/(index\.(html|js))?" \
        -e "glimmerbox-$name-setup-x(64|86)\.exe\.(signed|log)|zi[[:alnum:]]{6}" | tr '\0' '\n')
    [ -z "$other" ] ||
        { echo "make-release: $dist holds $(echo "$other" | head -n 1), which is no release file; give a new or empty folder"; exit 2; }
fi
for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target glimmerbox_setup >/dev/null
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win64/CMakeCache.txt)
[ -n "$version" ] || { echo "make-release: no project version in build/win64/CMakeCache.txt"; exit 1; }
# File times in the zip and signing times are the commit's.
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}

# ---- Windows: signing, and the winget manifest ----
signing=
if [ -n "${GLIMMERBOX_SIGN_CERT:-}${GLIMMERBOX_SIGN_KEY:-}" ]; then
    for file in "${GLIMMERBOX_SIGN_CERT:-}" "${GLIMMERBOX_SIGN_KEY:-}"; do
        [ -r "$file" ] || { echo "make-release: set GLIMMERBOX_SIGN_CERT and GLIMMERBOX_SIGN_KEY to readable PEM files"; exit 1; }
    done
    command -v osslsigncode >/dev/null || { echo "make-release: osslsigncode is missing (package osslsigncode)"; exit 1; }
    export GLIMMERBOX_SIGN_TIME="$stamp"
    signing=1
fi

# Copies the saver and installer of one build (x86 or x64) into $dist; when
# signing, a signed saver and an installer made again from it, its
# uninstaller and itself signed.
windows_files() {
    arch=$1 preset=$2
    mkdir -p "$dist/scr/$arch"
    cp "build/$preset/glimmerbox.scr" "$dist/scr/$arch/"
    if [ -n "$signing" ]; then
        sh packaging/windows/sign.sh "$dist/scr/$arch/glimmerbox.scr"
        sh packaging/windows/make-setup.sh --sign "$arch" "$version" "build/$preset/glimmerbox.scr" \
            "$dist/glimmerbox-$version-setup-$arch.exe" >/dev/null
    else
        cp "build/$preset/glimmerbox-$version-setup-$arch.exe" "$dist/"
    fi
}

# A winget multi-file manifest for the two installers as downloaded from
# GLIMMERBOX_RELEASE_URL, laid out as in the winget-pkgs repository; without
# the address, none. No Scoop manifest: Scoop installs per user without
# elevation, and a saver must go into the system folder (see docs/releasing.md).
windows_manifests() {
    if [ -z "$url" ]; then
        echo "make-release: GLIMMERBOX_RELEASE_URL is not set; no winget manifest"
        return 0
    fi
    homepage=http://www.glimmerbox.net
    id=Glimmerbox.Glimmerbox schema=1.6.0
    summary="A screen saver showing a slowly turning cube whose faces carry a moving plasma"
    x64=glimmerbox-$version-setup-x64.exe x86=glimmerbox-$version-setup-x86.exe
    sum64=$(sha256sum <"$dist/$x64" | cut -d' ' -f1) sum86=$(sha256sum <"$dist/$x86" | cut -d' ' -f1)
    winget=$dist/winget/manifests/g/Glimmerbox/Glimmerbox/$version
    mkdir -p "$winget"
    cat >"$winget/$id.yaml" <<YAML
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.version.$schema.schema.json
PackageIdentifier: $id
PackageVersion: $version
DefaultLocale: en-US
ManifestType: version
ManifestVersion: $schema
YAML
    # The uninstall entry's key is the product code; its display name is not
    # the package name. Exit codes as docs/windows.md documents them.
    cat >"$winget/$id.installer.yaml" <<YAML
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.installer.$schema.schema.json
PackageIdentifier: $id
PackageVersion: $version
InstallerType: nullsoft
Scope: machine
ElevationRequirement: elevatesSelf
ExpectedReturnCodes:
- InstallerReturnCode: 1
  ReturnResponse: cancelledByUser
- InstallerReturnCode: 3
  ReturnResponse: alreadyInstalled
- InstallerReturnCode: 4
  ReturnResponse: fileInUse
- InstallerReturnCode: 5
  ReturnResponse: contactSupport
- InstallerReturnCode: 6
  ReturnResponse: contactSupport
- InstallerReturnCode: 740
  ReturnResponse: custom
ProductCode: Glimmerbox
ReleaseDate: $(date -u -d "@$stamp" +%F)
AppsAndFeaturesEntries:
- DisplayName: Glimmerbox screen saver
  Publisher: Glimmerbox
  DisplayVersion: $version
  ProductCode: Glimmerbox
Installers:
- Architecture: x64
  InstallerUrl: $url/$x64
  InstallerSha256: $(echo "$sum64" | tr a-f A-F)
- Architecture: x86
  InstallerUrl: $url/$x86
  InstallerSha256: $(echo "$sum86" | tr a-f A-F)
ManifestType: installer
ManifestVersion: $schema
YAML
    cat >"$winget/$id.locale.en-US.yaml" <<YAML
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.defaultLocale.$schema.schema.json
PackageIdentifier: $id
PackageVersion: $version
PackageLocale: en-US
Publisher: Glimmerbox
PublisherUrl: $homepage
PackageName: Glimmerbox
PackageUrl: $homepage
License: Unknown
ShortDescription: $summary.
ManifestType: defaultLocale
ManifestVersion: $schema
YAML
}
# ---- end of the Windows part ----

rm -rf "$dist"
mkdir -p "$dist"
windows_files x86 win32
windows_files x64 win64
# Same savers, same zip: fixed file times (the commit's), modes and no extra
# fields.
chmod 644 "$dist/scr/x86/glimmerbox.scr" "$dist/scr/x64/glimmerbox.scr"
touch -d "@$stamp" "$dist/scr/x86/glimmerbox.scr" "$dist/scr/x64/glimmerbox.scr"
(cd "$dist/scr" && TZ=UTC zip -q -X "../glimmerbox-$version-scr.zip" x86/glimmerbox.scr x64/glimmerbox.scr)
rm -r "$dist/scr"

# ---- Linux packages ----
# Made here with the commit's time as SOURCE_DATE_EPOCH (file times, the
# RPM's build time), so that two releases of one commit are the same bytes.
cmake --preset native >/dev/null
cmake --build --preset native --target glimmerbox glimmerbox-wl glimmerbox_package_files >/dev/null
(cd build/native && SOURCE_DATE_EPOCH=$stamp cpack >cpack.log 2>&1) || { cat build/native/cpack.log; exit 1; }
cp "build/native/glimmerbox_${version}_amd64.deb" "build/native/glimmerbox-$version-1.x86_64.rpm" "$dist/"
# ---- end of the Linux packages ----

# ---- The web page ----
# Its two files in one folder, at the commit's time: index.html opens from
# disk, or the folder goes on any static web host.
cmake --preset web >/dev/null
cmake --build --preset web >/dev/null
page=glimmerbox-$version-web
mkdir -p "$dist/$page"
cp build/web/index.html build/web/index.js "$dist/$page/"
chmod 644 "$dist/$page/index.html" "$dist/$page/index.js"
touch -d "@$stamp" "$dist/$page/index.html" "$dist/$page/index.js"
(cd "$dist" && TZ=UTC zip -q -X -D "$page.zip" "$page/index.html" "$page/index.js")
rm -r "${dist:?}/$page"
# ---- end of the web page ----
(cd "$dist" && sha256sum -- * >SHA256SUMS)
windows_manifests
ls -l "$dist"
