#!/usr/bin/env bash
# Fails, listing them, when clang-format (the repository's .clang-format) would change any C++
# file under version control. Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
# One clang-format process for all files: it reports each place it would change.
report=$(clang-format --style=file --dry-run --Werror "${files[@]}" 2>&1 || true)
changed=$(grep -o '^[^:]*:[0-9]*:[0-9]*: error' <<<"$report" | cut -d: -f1 | sort -u || true)

if [ -n "$changed" ]; then
    echo "clang-format would change these files:"
    sed 's/^/  /' <<<"$changed"
    exit 1
fi
echo "format: all ${#files[@]} C++ files are formatted"
