#!/bin/sh
# Makes a release (tools/make-release.sh) here and in a copy of the sources in
# another folder, with one SOURCE_DATE_EPOCH, and compares the two
# SHA256SUMS: both savers (in the zip), both installers, the Linux
# packages and the web page's zip. Then does the same for a signed release. Leaves this folder's
# release in dist/.
set -eu
cd "$(dirname "$0")/.."
copy=build/reproduce/glimmerbox
rm -rf build/reproduce
mkdir -p "$copy"
# The working tree's own files, committed or not, without build output.
git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$copy"
status=0
# ---- Unsigned release ----
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 0)
# Release files of any version, in the older layout too, are emptied.
mkdir -p dist/winget && touch dist/glimmerbox-0.9-web.zip dist/winget/Glimmerbox.Glimmerbox.yaml
for tree in . "$copy"; do
    (cd "$tree" && SOURCE_DATE_EPOCH=$stamp tools/make-release.sh >/dev/null) || status=1
done
if cmp -s dist/SHA256SUMS "$copy/dist/SHA256SUMS"; then
    echo "reproducible: the release's SHA256SUMS"
    sed 's/^/    /' dist/SHA256SUMS
else
    echo "FAIL: two releases differ:"
    diff dist/SHA256SUMS "$copy/dist/SHA256SUMS"
    status=1
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win64/CMakeCache.txt)
# ---- end of the unsigned release ----

# ---- Signed Windows release, and its winget manifest ----
# With a throwaway certificate: a signed release made in each tree must be the
# same bytes, every signed file must verify, signed at the commit's time, and
# the savers without their signatures must be the unsigned builds.
signed=$PWD/build/reproduce/signed
mkdir -p "$signed"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=Glimmerbox-test -addext extendedKeyUsage=codeSigning \
    -keyout "$signed/key.pem" -out "$signed/cert.pem" 2>/dev/null
# Made from the certificate's folder and named relative to it, as users do.
for tree in 1:"$PWD" 2:"$PWD/$copy"; do
    (cd "$signed" && GLIMMERBOX_SIGN_CERT=cert.pem GLIMMERBOX_SIGN_KEY=key.pem \
        GLIMMERBOX_RELEASE_URL=https://example.org/glimmerbox/ "${tree#*:}/tools/make-release.sh" "${tree%%:*}") >/dev/null
done
if diff -r "$signed/1" "$signed/2"; then
    sed 's/^/reproducible: signed /' "$signed/1/SHA256SUMS"
else
    echo "FAIL: two signed releases differ"
    status=1
fi
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
7z x -y -o"$signed/1" "$signed/1/glimmerbox-$version-scr.zip" >/dev/null
for file in "$signed"/1/*.exe "$signed"/1/x*/glimmerbox.scr; do
    osslsigncode verify -CAfile "$signed/cert.pem" -in "$file" >"$signed/verify.log" 2>&1 &&
        grep -q "Signing time: $(TZ=UTC date -d "@$stamp" '+%b %e %H:%M:%S %Y')" "$signed/verify.log" ||
        { echo "FAIL: $file: no valid signature made at the commit's time: $(tail -3 "$signed/verify.log")"; status=1; }
done
for arch in x86:win32 x64:win64; do
    osslsigncode remove-signature -in "$signed/1/${arch%:*}/glimmerbox.scr" -out "$signed/unsigned.scr" >/dev/null &&
        cmp -s "$signed/unsigned.scr" "build/${arch#*:}/glimmerbox.scr" ||
        { echo "FAIL: the signed ${arch%:*} saver without its signature is not the unsigned build"; status=1; }
    rm -f "$signed/unsigned.scr"
done
# Debian's own interpreter, which sees the python3-yaml package.
/usr/bin/python3 - "$signed/1" "$version" "$(TZ=UTC date -d "@$stamp" +%F)" <<'PY' || status=1
import hashlib, sys, yaml
dist, version, day = sys.argv[1:]
url, files = "https://example.org/glimmerbox/", {a: f"glimmerbox-{version}-setup-{a}.exe" for a in ("x64", "x86")}
sha = {a: hashlib.sha256(open(f"{dist}/{f}", "rb").read()).hexdigest() for a, f in files.items()}
folder = f"{dist}/winget/manifests/g/Glimmerbox/Glimmerbox/{version}"
v, i, l = (yaml.safe_load(open(f"{folder}/Glimmerbox.Glimmerbox{k}.yaml")) for k in ("", ".installer", ".locale.en-US"))
checks = {
    "winget package, version, type, schema": all(
        (d["PackageIdentifier"], d["PackageVersion"], d["ManifestType"]) == ("Glimmerbox.Glimmerbox", version, t)
        and tuple(map(int, d["ManifestVersion"].split("."))) >= (1, 6, 0)
        for d, t in ((v, "version"), (i, "installer"), (l, "defaultLocale"))),
    "winget locale": v["DefaultLocale"] == l["PackageLocale"]
    and all(l.get(k) for k in ("Publisher", "PackageName", "License", "ShortDescription")),
    "winget installers": (i["InstallerType"], i["Scope"]) == ("nullsoft", "machine")
    and {e["Architecture"]: (e["InstallerUrl"], e["InstallerSha256"].lower()) for e in i["Installers"]}
    == {a: (url + files[a], sha[a]) for a in files},
    "winget release date, the commit's": str(i["ReleaseDate"]) == day,
}
for what, ok in checks.items():
    print(("manifests: " if ok else "FAIL: manifest: ") + what)
sys.exit(not all(checks.values()))
PY
# An http:// address is refused before anything is made, and a release folder
# holding anything else stays as it is, also where a release file's name
# would match a file in a folder or with a space added.
if GLIMMERBOX_RELEASE_URL=http://example.org/glimmerbox tools/make-release.sh "$signed/3" >/dev/null; then
    echo "FAIL: make-release.sh took an http:// address"
    status=1
fi
mkdir "$signed/1/glimmerbox-0.9-web"
for stray in notes.txt glimmerbox-0.9-web/notes.zip 'SHA256SUMS ' 'glimmerbox-my notes.zip'; do
    touch "$signed/1/$stray"
    ! tools/make-release.sh "$signed/1" >/dev/null && rm "$signed/1/$stray" ||
        { echo "FAIL: make-release.sh emptied a folder holding [$stray]"; status=1; }
done
# ---- end of the signed release ----
[ $status -ne 0 ] || rm -rf build/reproduce
exit $status
