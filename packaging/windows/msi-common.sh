# What the MSI checks share: msiexec as hospital IT runs it (silent, no restart,
# a verbose log kept when a check fails), installed programs as the registry
# holds it, and what an uninstall must leave behind. Sourced, under
# scripts/test-windows, which provides WINEPREFIX and DISPLAY.
: "${WINEPREFIX:?run through scripts/test-windows}" "${DISPLAY:?}"
drive_c="$WINEPREFIX/drive_c"
install_dir="$drive_c/Program Files/Orvale/Velunor"
# Windows puts a per-machine install's shortcut in the common Start menu; Wine's
# installer puts it in the installing user's.
start_menus=("$drive_c/ProgramData/Microsoft/Windows/Start Menu"
             "$drive_c"/users/*/"AppData/Roaming/Microsoft/Windows/Start Menu")
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# Logs stay here when a check fails; a folder per run, so that two test runs
# of one build (each with its own Wine prefix) do not delete each other's.
mkdir -p "$PWD/msi-logs"
msi_logs=$(mktemp -d "$PWD/msi-logs/$(basename "$0").XXXXXX")

fail() {
  echo "$(basename "$0"): $*" >&2
  echo "$(basename "$0"): the install logs are kept in $msi_logs" >&2
  exit 1
}
say() { echo "$(basename "$0"): $*"; }
logs_done() { rm -rf "$msi_logs"; rmdir "$(dirname "$msi_logs")" 2>/dev/null || true; }

# msiexec NAME ARGS...: runs silently with a verbose log NAME.log; its status is msiexec's
# (as far as the eight bits of a process status carry it).
msiexec() {
  local name=$1
  shift
  wine msiexec "$@" /qn /norestart /l*v "$(winepath -w "$msi_logs/$name.log")"
}

product_code() {
  msiinfo export "$1" Property | awk '$1 == "ProductCode" { print $2 }' | tr -d '\r'
}

# One line per installed programs entry named Velunor: its key, then its version.
velunor_entries() {
  wine reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | awk '
    /^HKEY_/ { key = $0 }
    $1 == "DisplayName" && $3 == "Velunor" { named[key] = 1 }
    $1 == "DisplayVersion" { version[key] = $3 }
    END { for (k in named) print k, version[k] }'
}

# The file version from the installed program's version resource.
installed_version() {
  python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import pe_resources
print(".".join(map(str, pe_resources.version_info(sys.argv[2]).file_version)))' \
    "$(dirname "${BASH_SOURCE[0]}")" "$install_dir/Velunor.exe"
}

nothing_left() {
  local left
  left=$(find "$drive_c/Program Files" "${start_menus[@]}" \
           \( -iname '*orvale*' -o -iname '*velunor*' \) 2>/dev/null | sort)
  [ -z "$left" ] || fail "left after uninstall:
$left"
  [ -z "$(velunor_entries)" ] || fail "installed programs still lists: $(velunor_entries)"
  if wine reg query 'HKLM\Software\Orvale' >/dev/null 2>&1; then
    fail "HKLM\\Software\\Orvale is still in the registry"
  fi
}
