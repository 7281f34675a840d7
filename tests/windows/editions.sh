# The editions as the Windows tests know them, written out independently of the catalogue in
# catalogue/editioncatalogue.cpp so that the two are checked against each other. Sourced by
# make-test-packages.sh and registry-checks.sh.

# language code, locale tag, product code
REMEDOR_EDITIONS=(
    "CHS zh-CN {6B41C7D2-B002-2052-B102-7E93A0C5D814}"
    "CHT zh-TW {6B41C7D2-B002-1028-B102-7E93A0C5D814}"
    "CSY cs-CZ {6B41C7D2-B002-1029-B102-7E93A0C5D814}"
    "DEU de-DE {6B41C7D2-B002-1031-B102-7E93A0C5D814}"
    "ENU en-US {6B41C7D2-B002-1033-B102-7E93A0C5D814}"
    "ESN es-ES {6B41C7D2-B002-3082-B102-7E93A0C5D814}"
    "FRA fr-FR {6B41C7D2-B002-1036-B102-7E93A0C5D814}"
    "HUN hu-HU {6B41C7D2-B002-1038-B102-7E93A0C5D814}"
    "ITA it-IT {6B41C7D2-B002-1040-B102-7E93A0C5D814}"
    "JPN ja-JP {6B41C7D2-B002-1041-B102-7E93A0C5D814}"
    "KOR ko-KR {6B41C7D2-B002-1042-B102-7E93A0C5D814}"
    "PLK pl-PL {6B41C7D2-B002-1045-B102-7E93A0C5D814}"
    "PTB pt-BR {6B41C7D2-B002-1046-B102-7E93A0C5D814}"
    "RUS ru-RU {6B41C7D2-B002-1049-B102-7E93A0C5D814}"
    "TRK tr-TR {6B41C7D2-B002-1055-B102-7E93A0C5D814}"
)
REMEDOR_SUITE_NAME="PELDA+ 2015"
REMEDOR_SUITE_CODE="{6B41C7D2-B002-0000-B002-7E93A0C5D814}"
REMEDOR_BOOTSTRAPPER_CODE="{3F1A92C4-7B5E-4D08-9C61-2A8E5B07D3F9}"

# One column of a language code's row: 1 the locale tag, 2 the product code.
edition_column() {
    local entry columns
    for entry in "${REMEDOR_EDITIONS[@]}"; do
        read -r -a columns <<<"$entry"
        if [[ ${columns[0]} == "$1" ]]; then
            echo "${columns[$2]}"
            return 0
        fi
    done
    return 1
}

# Product code of a language code, or of "suite".
product_code() {
    if [[ $1 == suite ]]; then
        echo "$REMEDOR_SUITE_CODE"
    else
        edition_column "$1" 2
    fi
}

# Locale tag of a language code.
locale_tag() {
    edition_column "$1" 1
}

# The packed form Windows Installer files a product under in HKCR\Installer\Products: the
# first three groups reversed, then every byte of the last two with its two digits swapped.
reversed_text() {
    local text=$1 result="" i
    for ((i = ${#text} - 1; i >= 0; i--)); do result+=${text:i:1}; done
    echo "$result"
}

packed_code() {
    local hex=${1//[\{\}-]/} out="" i
    out+=$(reversed_text "${hex:0:8}")
    out+=$(reversed_text "${hex:8:4}")
    out+=$(reversed_text "${hex:12:4}")
    for ((i = 16; i < 32; i += 2)); do
        out+=${hex:i+1:1}${hex:i:1}
    done
    echo "$out"
}
