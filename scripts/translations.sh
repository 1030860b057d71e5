#!/usr/bin/env bash
# Brings app/i18n/zh_CN.ts and app/i18n/en.ts up to date with the sources:
#   scripts/translations.sh
# lupdate adds new texts as unfinished. A text already in the file's language needs no
# translation and is filled in as itself (English texts in en.ts, Chinese texts in zh_CN.ts);
# what is left unfinished needs a translator: the tests fail until it is done.
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate="${LUPDATE:-/usr/lib/qt5/bin/lupdate}"
dirs=()
for d in app chrome workbench scope link cli commission records framework; do
    [ -d "$d" ] && dirs+=("$d")
done

for lang in zh_CN en; do
    "$lupdate" -silent -locations none -no-obsolete -target-language "$lang" -I . "${dirs[@]}" -ts "app/i18n/$lang.ts"
done

python3 - <<'PY'
import re
import xml.etree.ElementTree as ET

CJK = re.compile('[\u3000-\u303f\u3400-\u4dbf\u4e00-\u9fff\uff00-\uffef]')

def fill(path, keep_chinese_sources):
    # Parsing and writing back with ElementTree would reorder nothing but loses the doctype
    # and lupdate's layout; edit the text in place instead.
    text = open(path, encoding='utf-8').read()
    def message(m):
        block = m.group(0)
        if 'type="unfinished"' not in block:
            return block
        source = re.search(r'<source>(.*?)</source>', block, re.S)
        if not source:
            return block
        src = source.group(1)
        if bool(CJK.search(src)) != keep_chinese_sources:
            return block
        if '<numerusform' in block:
            block = re.sub(r'<numerusform>.*?</numerusform>|<numerusform/>',
                           '<numerusform>' + src.replace('\\', '\\\\') + '</numerusform>', block, flags=re.S)
            return block.replace(' type="unfinished"', '')
        return re.sub(r'<translation type="unfinished">.*?</translation>|<translation type="unfinished"/>',
                      lambda _: '<translation>' + src + '</translation>', block, flags=re.S)
    text = re.sub(r'<message( numerus="yes")?>.*?</message>', message, text, flags=re.S)
    open(path, 'w', encoding='utf-8').write(text)

fill('app/i18n/en.ts', keep_chinese_sources=False)
fill('app/i18n/zh_CN.ts', keep_chinese_sources=True)
PY

for lang in zh_CN en; do
    left=$(grep -c 'type="unfinished"' "app/i18n/$lang.ts" || true)
    echo "$lang.ts: $left unfinished"
done
