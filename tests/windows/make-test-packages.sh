#!/usr/bin/env bash
# Builds the sixteen Windows Installer packages the Windows integration test installs: one per
# edition ("PELDA+ 2015 DEU" …) and the suite ("PELDA+ 2015"), each a 32-bit per-machine
# package under the catalogue's product code that installs one small text file.
#
# Usage: make-test-packages.sh OUTPUT_FOLDER      (needs wixl from msitools)
# Writes OUTPUT_FOLDER/<LANG>.wxs, <LANG>.msi and suite.wxs, suite.msi.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=editions.sh
source "$here/editions.sh"

out=${1:?usage: make-test-packages.sh OUTPUT_FOLDER}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# Every package needs codes of its own: the product code with its first group replaced.
derived_code() { echo "{$1-${2#*-}"; }

write_package() {
    local id=$1 name=$2 code=$3 folder=$4
    local wxs=$out/$id.wxs
    printf 'This file belongs to %s.\n' "$name" >"$out/$id.txt"
    # Platform: wixl takes the architecture from -a, which writes "Intel" into the package.
    cat >"$wxs" <<WXS
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="$code" Name="$name" Language="1033" Version="15.0.0"
           Manufacturer="DAWLIX" UpgradeCode="$(derived_code A0A1E0D0 "$code")">
    <Package Description="$name" Manufacturer="DAWLIX" InstallerVersion="200" Compressed="yes"
             InstallScope="perMachine"/>
    <Media Id="1" Cabinet="package.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFilesFolder">
        <Directory Id="PeldaFolder" Name="PELDA+ 2015">
          <Directory Id="INSTALLDIR" Name="$folder">
            <Component Id="ReadMe" Guid="$(derived_code C0A1E0D0 "$code")">
              <File Id="ReadMe" Name="readme.txt" Source="$id.txt" KeyPath="yes"/>
            </Component>
          </Directory>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Complete" Level="1">
      <ComponentRef Id="ReadMe"/>
    </Feature>
  </Product>
</Wix>
WXS
    (cd "$out" && wixl -a x86 -o "$id.msi" "$id.wxs")
}

for entry in "${REMEDOR_EDITIONS[@]}"; do
    read -r language locale code <<<"$entry"
    write_package "$language" "$REMEDOR_SUITE_NAME $language" "$code" "$language"
done
write_package suite "$REMEDOR_SUITE_NAME" "$REMEDOR_SUITE_CODE" Suite
