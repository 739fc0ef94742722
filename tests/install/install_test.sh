#!/usr/bin/env bash
# Vexa installed as a user gets it: `cmake --install` into a scratch root and, where the
# Debian tools are there, the package that `cpack -G DEB` builds, unpacked into another.
# From each, vexa-interpret runs on a sample trace with the components installed beside it,
# and the desktop's pieces are where a desktop looks for them and valid: the trace file
# type (and the traces it recognises), the desktop entry that opens it, the icons and the
# manual pages. Nothing is built here; the build folder must hold a finished build.
#   install_test.sh CMAKE CPACK BUILD_DIR SOURCE_DIR
set -uo pipefail
cmake_cmd=$1 cpack_cmd=$2 build=$3 source=$4
samples=$source/samples
work=$(mktemp -d "${TMPDIR:-/tmp}/vexa-install-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0 checks=0
pass() { checks=$((checks + 1)); }
fail() { checks=$((checks + 1)); failures=$((failures + 1)); echo "FAIL: $*"; }
check() { local what=$1; shift; if "$@"; then pass; else fail "$what"; fi; }
has() { command -v "$1" >/dev/null 2>&1; }

# The user's own settings never reach the runs below.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME"
unset VEXA_COMPONENT_PATH

# The width and height in a PNG's header, as "WxH".
png_size() {
  local b; b=($(od -An -tu1 -j16 -N8 "$1"))
  echo "$(( (b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3] ))x$(( (b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7] ))"
}

# Everything a tree installed under ROOT/usr must hold and do.
check_tree() {
  local root=$1 name=$2 usr=$1/usr
  local lib=$usr/lib/vexa
  for f in vexa-interpret vexa.hlp VexaParser.so VexaDectParser.so; do
    check "$name: lib/vexa/$f installed" test -f "$lib/$f"
  done
  for built in "$build"/bin/Vexa*.so "$build"/bin/vexa; do
    [ -e "$built" ] && check "$name: $(basename "$built") installed beside the programs" test -f "$lib/$(basename "$built")"
  done
  for program in vexa-interpret vexa; do
    [ -e "$build/bin/$program" ] || continue
    check "$name: bin/$program links to lib/vexa/$program" \
      test "$(readlink "$usr/bin/$program")" = "../lib/vexa/$program" -a -x "$usr/bin/$program"
    if has ldd; then
      check "$name: every library of $program is found" \
        bash -c "! ldd '$lib/$program' | grep -q 'not found'"
    fi
  done

  # Run through the link in bin, from another folder: the components must come from the
  # installed tree, and the interpretation must be the one the build gives.
  local out=$work/$name-out
  mkdir -p "$out"
  local rc
  (cd "$work" && "$usr/bin/vexa-interpret" -p 1 "$samples/isdn-call.trc" > "$out/isdn.txt" 2> "$out/isdn.err")
  rc=$?
  check "$name: ISDN interpretation succeeds (exit $rc: $(head -c 300 "$out/isdn.err"))" test $rc -eq 0
  "$build/bin/vexa-interpret" -p 1 "$samples/isdn-call.trc" > "$out/isdn.expected" 2>/dev/null
  check "$name: ISDN interpretation equals the build's" cmp -s "$out/isdn.txt" "$out/isdn.expected"
  check "$name: ISDN interpretation decodes the SETUP" grep -q "SETUP" "$out/isdn.txt"
  (cd "$work" && "$usr/bin/vexa-interpret" -p 5 --list "$samples/dect-call.trc" > "$out/dect.txt" 2> "$out/dect.err")
  rc=$?
  check "$name: DECT list succeeds (exit $rc: $(head -c 300 "$out/dect.err"))" test $rc -eq 0
  "$build/bin/vexa-interpret" -p 5 --list "$samples/dect-call.trc" > "$out/dect.expected" 2>/dev/null
  check "$name: DECT list equals the build's" cmp -s "$out/dect.txt" "$out/dect.expected"
  check "$name: DECT list has rows" test -s "$out/dect.txt"
  "$usr/bin/vexa-interpret" --version > "$out/version.txt" 2>&1
  rc=$?
  check "$name: --version answers (exit $rc)" test $rc -eq 0 -a -s "$out/version.txt"

  # The desktop entry opens traces, not every text file, with the program in bin.
  local entry=$usr/share/applications/vexa.desktop
  check "$name: desktop entry installed" test -f "$entry"
  check "$name: desktop entry names the trace type" grep -qx 'MimeType=text/x-korvan-trace;' "$entry"
  check "$name: desktop entry claims no text/plain" bash -c "! grep -q 'text/plain' '$entry'"
  local exec; exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  check "$name: desktop entry's program ($exec) is in bin" test -x "$usr/bin/$exec"
  if has desktop-file-validate; then
    check "$name: desktop entry valid: $(desktop-file-validate "$entry" 2>&1 | grep -v 'hint:' | head -3)" \
      bash -c "! desktop-file-validate '$entry' 2>&1 | grep -v 'hint:' | grep -q ."
  fi

  # The icon named by the entry, at every size the theme has, each PNG of its folder's size.
  local icon; icon=$(sed -n 's/^Icon=//p' "$entry")
  for size in 16 24 32 48 64 128 256; do
    local png=$usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
    check "$name: icon $icon at $size pixels" test -f "$png"
    [ -f "$png" ] && check "$name: icon at $size pixels is ${size}x${size} ($(png_size "$png"))" \
      test "$(png_size "$png")" = "${size}x${size}"
  done
  check "$name: scalable icon" grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/$icon.svg"

  # The trace type in the shared MIME database, built from the installed file alone.
  local xml=$usr/share/mime/packages/vexa.xml
  check "$name: MIME type installed" grep -q 'type="text/x-korvan-trace"' "$xml"
  if has update-mime-database; then
    local db=$work/$name-mimedb
    mkdir -p "$db/mime/packages"
    cp "$xml" "$db/mime/packages/"
    XDG_DATA_DIRS=$db update-mime-database "$db/mime" > "$db.log" 2>&1
    check "$name: MIME database accepts the type ($(head -c 300 "$db.log"))" \
      bash -c "test -f '$db/mime/text/x-korvan-trace.xml' && ! grep -qi 'error\|warning' '$db.log'"
    if has gio; then
      local files=$work/$name-files
      mkdir -p "$files"
      cp "$samples/isdn-call.trc" "$files/named.trc"
      cp "$samples/dect-call.trc" "$files/trace-without-suffix"
      grep -v '^KORVAN\|^TRACE SET\|^PROTOCOL\|^$' "$samples/isdn-busy.trc" > "$files/cut-from-a-trace"
      printf 'Meeting notes\n09.41 call the exchange\n' > "$files/notes"
      printf '12.00.01.00 00300  ABCD not a direction\n' > "$files/almost"
      type_of() { XDG_DATA_DIRS=$db XDG_DATA_HOME=$work/none gio info -a standard::content-type "$1" 2>/dev/null |
                  sed -n 's/.*content-type: //p'; }
      for f in named.trc trace-without-suffix cut-from-a-trace; do
        check "$name: $f is a trace ($(type_of "$files/$f"))" test "$(type_of "$files/$f")" = text/x-korvan-trace
      done
      for f in notes almost; do
        check "$name: $f is no trace ($(type_of "$files/$f"))" test "$(type_of "$files/$f")" = text/plain
      done
    fi
  fi

  # The manual pages: there, complete (every long option of --help) and free of roff faults.
  local man=$usr/share/man/man1
  for page in vexa vexa-interpret; do
    check "$name: manual page $page(1)" test -f "$man/$page.1"
    if has groff && [ -f "$man/$page.1" ]; then
      local warnings; warnings=$(groff -man -Tutf8 -ww -z "$man/$page.1" 2>&1)
      check "$name: $page(1) formats without warnings ($warnings)" test -z "$warnings"
      check "$name: $page(1) has its NAME" \
        bash -c "groff -man -Tutf8 -P-cbu '$man/$page.1' 2>/dev/null | grep -q '^ *$page - '"
    fi
  done
  local options; options=$("$usr/bin/vexa-interpret" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
  for option in $options; do
    check "$name: vexa-interpret(1) explains $option" \
      bash -c "sed 's/\\\\-/-/g' '$man/vexa-interpret.1' | grep -q -- '$option\\b'"
  done
}

# 1. cmake --install into a scratch root.
DESTDIR=$work/root "$cmake_cmd" --install "$build" --prefix /usr > "$work/install.log" 2>&1
rc=$?
check "cmake --install succeeds (exit $rc: $(tail -3 "$work/install.log"))" test $rc -eq 0
check_tree "$work/root" install
check "install writes nothing outside /usr" test "$(ls "$work/root")" = usr

# 2. The Debian package, where dpkg-shlibdeps can find its dependencies.
if has dpkg-deb && has dpkg-shlibdeps && has file; then
  (cd "$work" && timeout 120 "$cpack_cmd" -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg") > "$work/cpack.log" 2>&1
  rc=$?
  check "cpack -G DEB succeeds (exit $rc: $(tail -5 "$work/cpack.log"))" test $rc -eq 0
  debs=("$work"/pkg/vexa_*.deb)
  check "one package vexa_VERSION_ARCH.deb (${debs[*]})" test ${#debs[@]} -eq 1 -a -f "${debs[0]}"
  if [ -f "${debs[0]}" ]; then
    deb=${debs[0]}
    depends=$(dpkg-deb -f "$deb" Depends)
    check "package depends on the C library ($depends)" grep -q 'libc6 (>=' <<< "$depends"
    check "package depends on Qt's core library ($depends)" grep -q 'libqt6core6' <<< "$depends"
    [ -e "$build/bin/vexa" ] && check "package depends on Qt's widgets ($depends)" grep -q 'libqt6widgets6' <<< "$depends"
    check "package depends on the platform plugins ($depends)" grep -q 'qt6-qpa-plugins' <<< "$depends"
    dpkg-deb -x "$deb" "$work/debroot"
    rc=$?
    check "package unpacks (exit $rc)" test $rc -eq 0
    check_tree "$work/debroot" package
    check "package holds nothing outside /usr" test "$(ls "$work/debroot")" = usr
    check "package's programs are stripped" bash -c "file -L '$work/debroot/usr/lib/vexa/vexa-interpret' | grep -q ', stripped'"

    # The maintainer scripts never fail: not without the desktop's tools, not when they fail.
    dpkg-deb -e "$deb" "$work/control"
    mkdir -p "$work/failing-tools"
    for tool in update-mime-database update-desktop-database gtk-update-icon-cache; do
      printf '#!/bin/sh\nexit 1\n' > "$work/failing-tools/$tool"
      chmod +x "$work/failing-tools/$tool"
    done
    for script in postinst:configure postrm:remove postrm:purge; do
      s=$work/control/${script%%:*} arg=${script#*:}
      check "$script is executable" test -x "$s"
      env -i PATH="$work/no-tools" /bin/sh "$s" "$arg" > /dev/null 2>&1
      rc=$?
      check "$script without the desktop's tools exits 0 (exit $rc)" test $rc -eq 0
      env -i PATH="$work/failing-tools:/usr/bin:/bin" /bin/sh "$s" "$arg" > /dev/null 2>&1
      rc=$?
      check "$script with failing tools exits 0 (exit $rc)" test $rc -eq 0
    done
  fi
else
  echo "SKIP: the package checks need dpkg-deb, dpkg-shlibdeps and file (scripts/install-deps.sh installs them)"
fi

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
