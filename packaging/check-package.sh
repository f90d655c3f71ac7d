#!/usr/bin/env bash
# Builds the Debian package and checks it the way a user's machine gets it: the files it holds,
# the run-time dependencies dpkg-shlibdeps computed, the desktop entries and icons, that the
# unpacked programs start and show their main windows (offscreen), and that the unpacked qivtool
# works on the packaged samples. Ends every program it starts.
#
# check-package.sh CPACK CPACK_CONFIG WORK_DIR PACKAGE_NAME SAMPLES_DIR
set -euo pipefail
cpack=$1 config=$2 work=$3 package=$4 samples=$5

fail() { echo "FAIL: $*" >&2; exit 1; }

running=()
end_programs() {
  for pid in "${running[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  running=()
}
trap end_programs EXIT
trap 'exit 1' INT TERM HUP

rm -rf "$work"
mkdir -p "$work/out" "$work/root"
if ! "$cpack" --config "$config" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack did not build the package"
fi
debs=("$work/out/${package}"_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one ${package}_*.deb in $work/out"
deb=${debs[0]}
echo "package: $(basename "$deb")"

# What the package holds, as dpkg will unpack it.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' >"$work/files"
expected=(
  /usr/bin/Rastel_Qiv
  /usr/bin/Swathly_Qiv
  /usr/bin/qivtool
  /usr/share/applications/rastel-qiv.desktop
  /usr/share/applications/swathly-qiv.desktop
  /usr/share/icons/hicolor/scalable/apps/rastel-qiv.svg
  /usr/share/icons/hicolor/scalable/apps/swathly-qiv.svg
)
sample_count=0
while IFS= read -r -d '' sample; do
  expected+=("/usr/share/qiv/samples/${sample#"$samples"/}")
  sample_count=$((sample_count + 1))
done < <(find "$samples" -type f -print0)
[ "$sample_count" -gt 0 ] || fail "the build wrote no sample files into $samples"
for path in "${expected[@]}"; do
  grep -qxF -- "$path" "$work/files" || fail "the package lacks $path"
done
grep -qE '^/usr/lib/(.*/)?qivtool/qivtool-plot\.so$' "$work/files" ||
  fail "the package lacks qivtool's plot module"

# The dependencies are computed from the programs' libraries, never listed by hand: Qt Widgets
# and the C library must show up.
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
for lib in libc6 libqt6widgets6 libqt6gui6 libqt6core6 libpng16-16; do
  grep -qE "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib"
done

dpkg-deb --extract "$deb" "$work/root"
root=$work/root

# Each desktop entry must be valid and point at a program and an icon that the package installs.
for entry in "$root"/usr/share/applications/*.desktop; do
  desktop-file-validate "$entry" || fail "$(basename "$entry") is not a valid desktop entry"
  exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  icon_name=$(sed -n 's/^Icon=//p' "$entry")
  [ -x "$root/usr/bin/$exec_name" ] || fail "$(basename "$entry"): no program $exec_name"
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg" ] ||
    fail "$(basename "$entry"): no icon $icon_name"
  grep -q '^Comment=.' "$entry" || fail "$(basename "$entry"): no English comment"
  grep -q '^Comment\[el\]=.' "$entry" || fail "$(basename "$entry"): no Greek comment"
done

# Starts an unpacked program, waits (at most 30 s) for the line it prints once its main window
# is on screen, then ends it.
start_and_end() {
  local program=$1 ready=$2
  local log="$work/$program.log"
  (cd "$work" && exec env QT_QPA_PLATFORM=offscreen QIV_REPORT_STARTUP=1 \
    "$root/usr/bin/$program" >"$log" 2>&1) &
  local pid=$!
  running+=("$pid")
  local tries=0
  until grep -qxF -- "$ready" "$log"; do
    if ! kill -0 "$pid" 2>/dev/null; then
      cat "$log" >&2
      fail "$program ended before showing its main window"
    fi
    tries=$((tries + 1))
    if [ "$tries" -gt 300 ]; then
      cat "$log" >&2
      fail "$program showed no main window within 30 s"
    fi
    sleep 0.1
  done
  end_programs
  echo "$program started and showed: ${ready#QIV_STARTUP }"
}
start_and_end Rastel_Qiv "QIV_STARTUP Form1 Επεξεργασία Εικόνας "
start_and_end Swathly_Qiv "QIV_STARTUP Form1 HRP File Information"

# qivtool from the package, on the packaged samples, without a display: a painting and a plot as
# PNG, and a quicklook that reads back with the header Rastel_Qiv reads.
tool=$root/usr/bin/qivtool
packaged=$root/usr/share/qiv/samples
(cd "$work" && env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$tool" render \
  "$packaged/scene-512x512-header.raw" --table equalised --colours continuous -o render.png &&
  env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$tool" plot \
    "$packaged/scene-512x512-header.raw" --kind stretched -o plot.png &&
  "$tool" quicklook "$packaged/avhrr-pass.hrp" --from hrp --band 2 -o pass.img) \
  >"$work/qivtool.log" 2>&1 || { cat "$work/qivtool.log" >&2; fail "qivtool did not run"; }
for picture in render.png plot.png; do
  file -b "$work/$picture" | grep -q '^PNG image data' || fail "qivtool wrote no PNG $picture"
done
grep -qx 'Header rows: 240' <("$tool" info "$work/pass.img") || fail "qivtool quicklook has no header"
echo "qivtool rendered, plotted and wrote a quicklook"
