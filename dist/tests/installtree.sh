#!/usr/bin/env bash
# Installs the build tree into a scratch prefix and checks what a desktop install needs.
#   installtree.sh BUILD_DIR layout    the programs, the bin/ link, icons, manual pages; the
#                                      editor started through the link finds its Updater
#   installtree.sh BUILD_DIR validate  desktop-file-validate and appstreamcli on the installed
#                                      files (exit 77, skipped, when a validator is missing)
set -euo pipefail
build="$1" mode="$2"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
p="$scratch/usr"
cmake --install "$build" --prefix "$p" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
app_id=org.tarnvale.Rewordix

if [ "$mode" = validate ]; then
  missing=()
  command -v desktop-file-validate >/dev/null || missing+=(desktop-file-validate)
  command -v appstreamcli >/dev/null || missing+=(appstreamcli)
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$p/share/applications/$app_id.desktop" || fail "desktop entry"
  fi
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$p/share/metainfo/$app_id.metainfo.xml" || fail "metainfo"
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "not installed: ${missing[*]} (./scripts/package installs them)"
    exit 77
  fi
  exit 0
fi

programs="$p/libexec/rewordix"
[ -x "$programs/rewordix" ] || fail "no editor in libexec/rewordix/"
[ -x "$programs/rewordix-updater" ] || fail "no Updater beside the editor"
[ -x "$p/bin/rewordix-cli" ] || fail "no bin/rewordix-cli"
[ -L "$p/bin/rewordix" ] || fail "bin/rewordix is not a link"
case "$(readlink "$p/bin/rewordix")" in
  /*) fail "bin/rewordix links to an absolute path" ;;
esac
[ "$(readlink -f "$p/bin/rewordix")" = "$(readlink -f "$programs/rewordix")" ] ||
  fail "bin/rewordix does not lead to the editor"
for f in share/man/man1/rewordix.1.gz share/man/man1/rewordix-cli.1.gz \
  share/icons/hicolor/scalable/apps/rewordix.svg share/icons/hicolor/48x48/apps/rewordix.png \
  share/icons/hicolor/256x256/apps/rewordix.png share/doc/rewordix/copyright; do
  [ -s "$p/$f" ] || fail "missing $f"
done
for command in spin count flat first strip-first stats export synonyms post auto-select \
  replace-favorites; do
  zcat "$p/share/man/man1/rewordix-cli.1.gz" | grep -q "^\.SS ${command//-/\\\\-}\$" ||
    fail "rewordix-cli.1 lacks $command"
done
zcat "$p/share/man/man1/rewordix-cli.1.gz" | grep -q '^\.SH EXIT STATUS' ||
  fail "rewordix-cli.1 lacks the exit statuses"

# Started through bin/rewordix without arguments the editor hands over to the Updater in its
# own folder (it resolves the link), here a stand-in that records that it ran. An editor that
# looked beside the link would find none and open its window instead: the time limit ends it.
cat >"$programs/rewordix-updater" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" > "$scratch/updater-ran"
SCRIPT
status=0
env REWORDIX_HOME="$scratch/home" HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" \
  XDG_DATA_HOME="$scratch/data" QT_QPA_PLATFORM=offscreen \
  timeout 60 "$p/bin/rewordix" || status=$?
[ "$status" -eq 1 ] || fail "the editor ended with $status instead of handing over"
for _ in $(seq 600); do [ -e "$scratch/updater-ran" ] && break; sleep 0.1; done
[ -e "$scratch/updater-ran" ] || fail "the Updater beside the editor did not run"
echo "installed tree is complete"
