#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass the desktop's own validators.
# Usage: validate_desktop_files.sh ENTRY.desktop METAINFO.xml
set -euo pipefail
entry=$1
metainfo=$2
if ! command -v desktop-file-validate >/dev/null || ! command -v appstreamcli >/dev/null; then
    echo "desktop-file-validate or appstreamcli is missing: bash scripts/install-deps.sh installs them"
    exit 1
fi
desktop-file-validate "$entry"
# Errors and warnings fail; the screenshot's address is not fetched.
appstreamcli validate --no-net "$metainfo"
# The entry names every document type the editor opens.
for type in text/html application/xhtml+xml text/css text/javascript application/x-php \
            application/xml application/sql application/x-perl text/plain; do
    grep -q "^MimeType=.*${type};" "$entry" || { echo "missing MIME type $type"; exit 1; }
done
grep -q '^GenericName=.\+' "$entry" && grep -q '^Comment=.\+' "$entry"
echo "desktop entry and metainfo valid"
