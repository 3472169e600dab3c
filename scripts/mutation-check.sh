#!/usr/bin/env bash
# Checks that the tests catch faults: applies small mutations to the sources one at a time, in a
# scratch copy of the tree, rebuilds the test program that covers the module, runs its tests and
# puts the source back. Prints one row per mutation: caught (the tests failed), survived (they
# passed) or broken (the mutation did not build, which says nothing about the tests).
#
# usage: scripts/mutation-check.sh [SCRATCH]   (default: build-mutation, beside the tree)
# The scratch copy is configured once and kept, so a second run only rebuilds what changed; with
# ccache most of the first build comes from the cache.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scratch=${1:-build-mutation}
mkdir -p "$scratch" && scratch=$(cd "$scratch" && pwd)
tree="$scratch/tree"
mkdir -p "$tree"
# A fresh copy of the sources (tracked or not) beside the build folder the copy keeps.
find "$tree" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
tar -C "$root" --exclude='./build*' --exclude='./.git' --exclude='./.cache' -cf - . | tar -C "$tree" -xf -
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$tree" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEL_BUILD_BENCHMARKS=OFF \
    "${launcher[@]}" >/dev/null || exit 2

# name ~ a file that holds the text (found anywhere under src/ or apps/ if it moved) ~ the text ~
# its replacement ~ test program ~ gtest filter
mutations=$(cat <<'EOF'
tag order~src/platform/error/ErrorRecord.cpp~record.Source.append(tag);~record.Source.insert(0, tag);~zel_common_tests~ErrorRecord.*:ErrorLog.*
identifier limit off by one~src/platform/script/vbscript/VBScriptLexer.cpp~if (chars > kMaxIdentifierLength)~if (chars >= kMaxIdentifierLength)~zel_script_tests~VBScriptSyntax.*
throw at a line end accepted~src/platform/script/jscript/JScriptParser.cpp~if (m_cur.newlineBefore || m_cur.kind == Tok::Eof)\n                fail(kThrowNeedsExpression~if (m_cur.kind == Tok::Eof)\n                fail(kThrowNeedsExpression~zel_jscript_tests~JScriptParser.*:JScriptRobustness.*
two top-level elements accepted~src/platform/xml/XmlNode.cpp~++elements > 1)~++elements > 2)~zel_xml_tests~*
WSDL suffix spelt differently~src/wsdl/WebService.cpp~strUrl += "?WSDL";~strUrl += "?wsdl";~zel_wsdl_tests~WebService*
no-attribute marker case-sensitive~src/wsdef/ZelScriptXml.cpp~Text::lowerAscii(pstrAtrId) == "[none]"~pstrAtrId == "[none]"~zel_wsdef_tests~ZelScriptXml*
execution engine stored untrimmed~src/host/forms/frmMain.cpp~XmlFncs::trimSpaces(txtExecutionEngine->text().toStdString())~txtExecutionEngine->text().toStdString()~zel_host_forms_tests~EditorTest.*
redirects not followed~src/platform/http/HttpClient.cpp~CURLOPT_FOLLOWLOCATION, 1L~CURLOPT_FOLLOWLOCATION, 0L~zel_http_tests~HttpClient.*
members coloured as keywords~src/hostparts/colorizer/Colorizer.cpp~const bool keyword = !m_afterDot && (~const bool keyword = (~zel_colorizer_tests~*
last response element counts~src/wsdl/WsdlQueries.cpp~types.try_emplace(wrapper.attribute("name"), element.attribute("type"));~types.insert_or_assign(wrapper.attribute("name"), element.attribute("type"));~zel_wsdl_tests~WebService*
raise tag dropped~src/host/cFormEngine.cpp~logAndRethrow("  cFormEngine.GetHandle() ", " cFormEngine.GetHandle() ");~logAndRethrow("  cFormEngine.GetHandle() ", " cFormEngine.Handle() ");~zel_host_core_tests~*
EOF
)

printf '%-36s %-48s %s\n' "mutation" "file" "result"
status=0
while IFS='~' read -r name file old new target filter; do
    [ -z "$name" ] && continue
    if [ ! -f "$tree/$file" ]; then
        # The file moved: find the one that holds the text.
        first=${old%%\\n*}
        file=$(cd "$tree" && grep -rlF -- "$first" src apps 2>/dev/null | head -1)
    fi
    result=""
    if [ -z "$file" ] || ! python3 - "$tree/$file" "$old" "$new" <<'PY'
import sys
path, old, new = sys.argv[1], sys.argv[2].replace('\\n', '\n'), sys.argv[3].replace('\\n', '\n')
text = open(path, encoding='utf-8').read()
if text.count(old) != 1:
    sys.exit(1)
open(path + '.orig', 'w', encoding='utf-8').write(text)
open(path, 'w', encoding='utf-8').write(text.replace(old, new))
PY
    then
        result="not applied (text not found once)"
        status=1
    else
        if ! cmake --build "$tree/build" -j2 --target "$target" >"$scratch/last-build.log" 2>&1; then
            result="broken (does not build)"
            status=1
        elif (cd "$tree/build" && QT_QPA_PLATFORM=offscreen timeout 900 "tests/$target" --gtest_filter="$filter" \
                  >"$scratch/last-run.log" 2>&1); then
            result="SURVIVED"
            status=1
        else
            failed=$(grep -o '[0-9]* FAILED TESTS\?' "$scratch/last-run.log" | head -1)
            result="caught (${failed:-the program crashed})"
        fi
        # Put the source back with a new time, so that the next build compiles it again.
        mv "$tree/$file.orig" "$tree/$file"
        touch "$tree/$file"
    fi
    printf '%-36s %-48s %s\n' "$name" "$file" "$result"
done <<<"$mutations"
exit $status
