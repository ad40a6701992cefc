#!/usr/bin/env bash
# What Windows reads from the file itself: the saver's name (string 1), the
# version shown in its properties, and the DPI-aware manifest.
source "$(dirname "$0")/wine_test_lib.sh"
make_prefix
start_xvfb 800x600x24

report=$(probe resources Rimeglass.scr)
echo "$report"
check 'string 1 is "Rimeglass"' grep -qx 'string1=Rimeglass' <<<"$report"
check "a manifest that declares DPI awareness" grep -q 'manifest=1 dpi_aware=1' <<<"$report"
check "a version resource naming the product" grep -q 'version=1 product=Rimeglass file_version=[0-9]' <<<"$report"
