#!/usr/bin/env bash
# Builds the Debian package, installs it with dpkg, starts the installed program on a
# page under a virtual display, checks that its window comes up and that it found its
# help book and modules, then removes the package and checks nothing is left behind.
# Usage: deb_roundtrip.sh BUILD_DIR
# Exit 77 (skipped) only for what this machine cannot give: the administrator's rights,
# a Debian system, or a balizor package of the user's own that must be left alone.
set -euo pipefail
build=$(cd "$1" && pwd)

skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
command -v dpkg >/dev/null && command -v dpkg-deb >/dev/null || skip "not a Debian system"
for tool in cpack xvfb-run xdotool; do
    command -v "$tool" >/dev/null ||
        { echo "$tool is missing: bash scripts/install-deps.sh installs it"; exit 1; }
done
if dpkg-query -W -f='${Status}' balizor 2>/dev/null | grep -q "install ok installed"; then
    skip "a balizor package is already installed on this machine; it is left alone"
fi

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    if dpkg-query -W -f='${Status}' balizor 2>/dev/null | grep -q "installed"; then
        dpkg -r balizor >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# dpkg refuses to run while another dpkg holds its lock: wait for it a while.
dpkg_retry() {
    for _ in $(seq 1 60); do
        if out=$(dpkg "$@" 2>&1); then return 0; fi
        if ! grep -qi "lock" <<<"$out"; then echo "$out"; return 1; fi
        sleep 5
    done
    echo "$out"
    return 1
}

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/balizor_*.deb)
echo "package: $(basename "$deb") ($(stat -c %s "$deb") bytes)"
info=$(dpkg-deb -I "$deb")
grep -q '^ Depends: .*libqt6webenginewidgets6' <<<"$info" || { echo "$info"; echo "no dependencies declared"; exit 1; }
dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
for f in ./usr/bin/balizor ./usr/bin/balizor-cli ./usr/lib/balizor/libbalizor_webengine.so \
         ./usr/lib/balizor/libbalizor_helpwindow.so ./usr/lib/balizor/libbalizor_secrets.so \
         ./usr/share/balizor/Balizor.qch \
         ./usr/share/applications/fr.balizor.Balizor.desktop \
         ./usr/share/metainfo/fr.balizor.Balizor.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/balizor.svg \
         ./usr/share/icons/hicolor/48x48/apps/balizor.png; do
    grep -qx "$f" "$work/contents" || { echo "the package lacks $f"; exit 1; }
done

dpkg_retry -i "$deb"
mapfile -t installed < <(dpkg -L balizor | while read -r p; do [ -f "$p" ] && echo "$p"; done)
[ "${#installed[@]}" -gt 5 ] || { echo "dpkg lists too few files"; exit 1; }

# The installed command-line tool works.
printf '<p>caf\xc3\xa9</p>\n' > "$work/page.htm"
/usr/bin/balizor-cli accents --to-entities "$work/page.htm"
grep -q 'caf&eacute;' "$work/page.htm" || { echo "balizor-cli did not rewrite the page"; exit 1; }

# The installed program comes up on the page, with settings in a scratch home.
mkdir -p "$work/home"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/home/run"
mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
cat > "$work/run.sh" <<RUN
#!/usr/bin/env bash
set -u
# Under the virtual display: a real window, whatever platform the caller asked for.
export QT_QPA_PLATFORM=xcb
/usr/bin/balizor "$work/page.htm" > "$work/stderr.txt" 2>&1 &
app=\$!
echo \$app > "$work/app.pid"
found=""
for _ in \$(seq 1 60); do
    if xdotool search --onlyvisible --pid \$app --name 'page.htm' >/dev/null 2>&1; then found=1; break; fi
    kill -0 \$app 2>/dev/null || break
    sleep 0.5
done
# F1 opens the help window: the help module in lib/balizor and the book in share/balizor.
help=""
if [ -n "\$found" ]; then
    win=\$(xdotool search --onlyvisible --pid \$app --name 'page.htm' | head -1)
    xdotool windowactivate --sync \$win >/dev/null 2>&1 || true
    xdotool key --window \$win F1
    for _ in \$(seq 1 40); do
        if xdotool search --onlyvisible --pid \$app --name '^Aide de Balizor' >/dev/null 2>&1; then help=1; break; fi
        sleep 0.5
    done
    [ -n "\$help" ] || echo "the help window did not come up"
fi
kill -TERM \$app 2>/dev/null
wait \$app 2>/dev/null
[ -n "\$found" ] && [ -n "\$help" ]
RUN
if ! xvfb-run -a -s "-screen 0 1280x800x24" bash "$work/run.sh"; then
    cat "$work/stderr.txt"
    echo "the installed program's window or its help did not come up"
    exit 1
fi
if grep -q "no help\|no preview\|module is not installed" "$work/stderr.txt"; then
    cat "$work/stderr.txt"
    exit 1
fi
echo "installed program showed its window and its help"

dpkg_retry -r balizor
for f in "${installed[@]}"; do
    [ ! -e "$f" ] || { echo "left behind: $f"; exit 1; }
done
for d in /usr/lib/balizor /usr/share/balizor; do
    [ ! -e "$d" ] || { echo "left behind: $d"; exit 1; }
done
echo "package installed, run and removed cleanly (${#installed[@]} files)"
