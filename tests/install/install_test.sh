#!/usr/bin/env bash
# Installs the build tree ($1) into a temporary DESTDIR and checks it as a player's machine would
# see it; then builds the Debian package and lists it. Prints what failed and exits 1.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
xvfb=""
cleanup() { [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "install test: $*" >&2; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr --strip >/dev/null  # as a package is
usr="$work/root/usr"
for f in games/quillorix games/quillorix-puzzle games/quillorix-reg lib/quillorix/libZandrel.so \
  share/games/quillorix/{GRIDFILE.GFDB,XWORD.DICT,ACCEPT.DICT,ALLPICDATA.BMP,QUILICON.BMP,QUILHLP.HTM,CLAP.wav} \
  share/applications/quillorix.desktop share/metainfo/io.github.quillorix.Quillorix.metainfo.xml \
  share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/quillorix.png \
  share/man/man6/quillorix.6.gz share/man/man1/quillorix-{puzzle,reg}.1.gz \
  share/doc/quillorix/{changelog.gz,copyright}; do
  [ -f "$usr/$f" ] || fail "$f is not installed"
done
# Each icon is painted at its own size.
for size in 16 32 48 64 128 256; do
  got="$(identify -format '%wx%h' "$usr/share/icons/hicolor/${size}x${size}/apps/quillorix.png")"
  [ "$got" = "${size}x${size}" ] || fail "the ${size}px icon is $got"
done
# Nothing installed names the build tree.
if grep -rlF "$build" "$usr/share" "$usr/games" >/dev/null; then fail "an installed file names $build"; fi
desktop-file-validate "$usr/share/applications/quillorix.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$usr/share/metainfo/io.github.quillorix.Quillorix.metainfo.xml" \
  >"$work/appstream.txt" || { cat "$work/appstream.txt"; fail "the metadata is not valid"; }

# The installed tools find the installed data; moved elsewhere, the install still works.
mv "$work/root" "$work/moved"
usr="$work/moved/usr"
"$usr/games/quillorix-puzzle" --seed 5 --group 1 | grep -q "group 1" || fail "quillorix-puzzle made no puzzle"
[ "$("$usr/games/quillorix-reg" --version)" = "quillorix-reg $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" ] ||
  fail "quillorix-reg --version is wrong"
"$usr/games/quillorix" --version >/dev/null || fail "quillorix --version failed"
if "$usr/games/quillorix" --bogus 2>/dev/null; then fail "an unknown argument was accepted"; fi

# The installed game on a display of its own: to its main menu, then out by Exit (code 0).
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
read -r display <&3
# Drawn in software: under the sanitizers the GL driver leaks from a library it unloads at exit.
export DISPLAY=":$display" SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software \
  SDL_FRAMEBUFFER_ACCELERATION=0 XDG_DATA_HOME="$work/home"
"$usr/games/quillorix" &
game=$!
window=""
for _ in $(seq 100); do
  window="$(xdotool search --onlyvisible --name '^Quillorix$' 2>/dev/null | head -1)" && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || fail "the installed game showed no window"
sleep 1
xdotool mousemove --window "$window" 375 395 click 1  # Exit
for _ in $(seq 50); do kill -0 "$game" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$game" 2>/dev/null; then kill "$game"; fail "Exit did not end the installed game"; fi
wait "$game" || fail "the installed game ended with $?"
[ -f "$work/home/quillorix/settings.db" ] || fail "the game kept no settings in XDG_DATA_HOME"

# The Debian package of the tree, and what it holds.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack made no package"
deb="$(ls "$work"/package/*.deb)"
dpkg-deb -c "$deb" | awk '{print $6}' | tee "$work/contents.txt"
grep -q '^./usr/games/quillorix$' "$work/contents.txt" || fail "the package lacks the game"
dpkg-deb -f "$deb" Depends | grep -q libsdl2-ttf || fail "the package does not depend on SDL2_ttf"
echo "install test: passed"
