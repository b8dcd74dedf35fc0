# Fedora's xscreensaver builds its list of programs from hacks.conf.d; the
# list is made again whenever a program comes or goes.
if command -v update-xscreensaver-hacks >/dev/null 2>&1; then
    update-xscreensaver-hacks || :
fi
