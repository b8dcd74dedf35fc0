#!/bin/sh
# The built Debian package: its fields and dependencies, its exact file list,
# lintian, the desktop entry and the settings description; the RPM: its file
# list, its scripts and rpmlint.
# Usage: package_test.sh <glimmerbox_VERSION_amd64.deb> <glimmerbox-VERSION-1.x86_64.rpm> <packaging folder>
set -u
deb=$1 rpm=$2 packaging=$3
. "$(cd "$(dirname "$0")" && pwd)/x_server.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for package in "$deb" "$rpm"; do
    [ -f "$package" ] || { echo "FAIL: $package is missing: build it with cmake --build --preset native --target package"; exit 1; }
done
for tool in dpkg-deb lintian desktop-file-validate xmllint rpm rpmlint; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (packages dpkg, lintian, desktop-file-utils, libxml2-utils, rpm, rpmlint)"; exit 1; }
done

# Fields, with dependencies worked out from the program's libraries.
for field in Package Version Architecture Section Depends; do
    echo "$field: $(dpkg-deb -f "$deb" "$field")"
done
[ "$(dpkg-deb -f "$deb" Package)_$(dpkg-deb -f "$deb" Version)_$(dpkg-deb -f "$deb" Architecture).deb" = "$(basename "$deb")" ] ||
    fail "the fields do not match the file name $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libx11-6 libglx0 libopengl0 libglu1-mesa libwayland-client0 libwayland-egl1 libegl1 libxkbcommon0; do
    case ", $depends" in *", $library "* | *", $library,"* | *", $library") ;; *) fail "Depends lacks $library" ;; esac
done

# Exactly these files, the program executable by all.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $6 }' | sort >"$tmp/files"
cat >"$tmp/expected" <<LIST
-rw-r--r-- ./usr/share/applications/screensavers/glimmerbox.desktop
-rw-r--r-- ./usr/share/doc/glimmerbox/changelog.gz
-rw-r--r-- ./usr/share/doc/glimmerbox/copyright
-rw-r--r-- ./usr/share/man/man6/glimmerbox-wl.6.gz
-rw-r--r-- ./usr/share/man/man6/glimmerbox.6.gz
-rw-r--r-- ./usr/share/xscreensaver/config/glimmerbox.xml
-rwxr-xr-x ./usr/bin/glimmerbox-wl
-rwxr-xr-x ./usr/libexec/xscreensaver/glimmerbox
LIST
diff -u "$tmp/expected" "$tmp/files" >"$tmp/diff" || { fail "the package's files differ:"; cat "$tmp/diff"; }

# lintian: no errors and no warnings.
lintian --tag-display-limit 0 "$deb" >"$tmp/lintian" 2>&1
echo "lintian:"
sed 's/^/    /' "$tmp/lintian"
if grep -q '^[EW]:' "$tmp/lintian"; then fail "lintian reports errors or warnings"; fi

# The RPM: the same files in the same places, Fedora's entry for xscreensaver's
# list, and of the folders only the daemons' own, not the system's.
rpm -qp --qf '[%{FILEMODES:perms} .%{FILENAMES}\n]' "$rpm" | sort >"$tmp/rpm-files"
sort - "$tmp/expected" >"$tmp/rpm-expected" <<LIST
-rw-r--r-- ./usr/share/xscreensaver/hacks.conf.d/glimmerbox.conf
drwxr-xr-x ./usr/libexec/xscreensaver
drwxr-xr-x ./usr/share/applications/screensavers
drwxr-xr-x ./usr/share/doc/glimmerbox
drwxr-xr-x ./usr/share/xscreensaver
drwxr-xr-x ./usr/share/xscreensaver/config
drwxr-xr-x ./usr/share/xscreensaver/hacks.conf.d
LIST
diff -u "$tmp/rpm-expected" "$tmp/rpm-files" >"$tmp/diff" || { fail "the RPM's files differ:"; cat "$tmp/diff"; }

# After install and removal the RPM remakes Fedora's list of programs where
# update-xscreensaver-hacks exists, and succeeds where it does not.
mkdir "$tmp/bin"
printf '#!/bin/sh\necho ran >>"%s"\n' "$tmp/ran" >"$tmp/bin/update-xscreensaver-hacks"
chmod +x "$tmp/bin/update-xscreensaver-hacks"
rpm -qp --scripts "$rpm" >"$tmp/scripts"
for script in postinstall postuninstall; do
    awk -v name=$script '/^[a-z]+ scriptlet/ { on = $1 == name; next } on' "$tmp/scripts" >"$tmp/$script"
    rm -f "$tmp/ran"
    PATH="$tmp/bin:/usr/bin:/bin" sh "$tmp/$script" && [ -s "$tmp/ran" ] ||
        fail "the RPM's $script script does not run update-xscreensaver-hacks"
    PATH=/usr/bin:/bin sh "$tmp/$script" || fail "the RPM's $script script fails without update-xscreensaver-hacks"
done

# rpmlint: no errors, configured as for Fedora: manual pages in gzip, and no
# signature asked of a build (the distributor signs).
printf '%s\n' 'CompressExtension = "gz"' "Filters = [' no-signature']" >"$tmp/rpmlint.toml"
rpmlint -c "$tmp/rpmlint.toml" "$rpm" >"$tmp/rpmlint" 2>&1
echo "rpmlint:"
grep -E '^glimmerbox|packages and' "$tmp/rpmlint" | sed 's/^/    /'
grep -q ' 0 errors,' "$tmp/rpmlint" || fail "rpmlint reports errors"

# The desktop entry: valid but for the missing main category that every
# screensaver entry has.
desktop-file-validate "$packaging/glimmerbox.desktop" >"$tmp/validate" 2>&1
grep -v 'does not contain a registered main category' "$tmp/validate" >"$tmp/validate-other"
[ ! -s "$tmp/validate-other" ] || { fail "desktop-file-validate:"; cat "$tmp/validate-other"; }

# The settings description: what xscreensaver-settings builds its page from.
xml=$packaging/glimmerbox.xml
xmllint --noout "$xml" || fail "glimmerbox.xml is not well-formed"
while read -r what path; do
    [ "$(xmllint --xpath "count($path)" "$xml" 2>/dev/null)" = 1 ] || fail "glimmerbox.xml lacks $what: $path"
done <<XPATHS
name,label,GL /screensaver[@name='glimmerbox'][@_label='Glimmerbox'][@gl='yes']
command /screensaver/command[@arg='--root']
delay-slider /screensaver/number[@type='slider'][@arg='--delay %'][@low='0'][@default='16667'][@convert='invert']
fps-checkbox /screensaver/boolean[@arg-set='--fps']
description /screensaver/_description[string-length(normalize-space())>40]
credit-and-year /screensaver/_description[substring-after(normalize-space(), 'Written by ')='Glimmerbox developers; 2026.']
XPATHS

if [ "$failures" -eq 0 ]; then
    echo "PASS: package fields, files, lintian, desktop entry and settings description; the RPM's files, scripts and rpmlint"
    exit 0
fi
exit 1
