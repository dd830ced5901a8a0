#!/usr/bin/env bash
# Mutation check: proves the tests' power by planting faults they must catch.
#
#   tools/mutate.sh [--list FILE] [--dir DIR] [--timeout S] [--check] [PATTERN]
#
# Each line of the list (default tests/mutants.txt) is one fault, four fields separated by TABs:
#   file  the text to change  the faulty text  why this fault matters
# Blank lines and lines starting with '#' are skipped; PATTERN keeps only the lines that contain it.
# The text to change must occur exactly once in its file; the faulty text may be empty (the text
# is dropped). In both texts '\t' stands for a TAB.
#
# --check only validates the list (four fields, the file exists, the text occurs once, the fault
# changes it) without building anything. Otherwise the work tree is copied to a scratch folder
# (default build/mutate), built once with the debug preset and checked green; then each fault in
# turn is written into the copy and the copy is rebuilt, and the tests run, cheapest first, until
# one fails: a core fault meets the unit test programs (its own folder's first, each run whole),
# then the GUI tests, then the end-to-end tests; a fault in a window meets the GUI tests (nothing
# else links the windows). A fault is "caught" when a test fails (or hangs past --timeout,
# default 900 s), "survived" when all pass; a fault that does not build or whose text is not
# found once is "invalid" (a list to mend, not a success). The file is restored before the next
# fault. Prints a table with the time each fault took and a total; exits 1 when a fault
# survived or was invalid.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

list=tests/mutants.txt
dir=build/mutate
timeout=900
pattern=
check_only=false
while (($#)); do
    case $1 in
        --list) list=$2; shift 2 ;;
        --dir) dir=$2; shift 2 ;;
        --timeout) timeout=$2; shift 2 ;;
        --check) check_only=true; shift ;;
        -h|--help) sed -n '2,22p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) pattern=$1; shift ;;
    esac
done
[ -f "$list" ] || { echo "mutate: no list $list" >&2; exit 1; }
case $list in /*) ;; *) list=$top/$list ;; esac

# Splits a list line into file, from, to and why; false unless it has exactly four fields.
# (read with IFS=TAB would merge two TABs around an empty field.)
split_line() {
    local line=$1 tabs=${1//[^$'\t']/}
    ((${#tabs} == 3)) || return 1
    file=${line%%$'\t'*}; line=${line#*$'\t'}
    from=${line%%$'\t'*}; line=${line#*$'\t'}
    to=${line%%$'\t'*}
    why=${line#*$'\t'}
}

# Writes the fault into FILE (relative to the current folder). Exits 2 when the text is not there
# exactly once, 3 when the fault would change nothing; with DRY=1 only checks.
apply_fault() {
    python3 - "$@" <<'PY'
import os, sys
path, old, new = sys.argv[1], sys.argv[2].replace('\\t', '\t'), sys.argv[3].replace('\\t', '\t')
text = open(path, encoding='utf-8').read()
if not old or text.count(old) != 1:
    sys.exit(2)
if old == new:
    sys.exit(3)
if os.environ.get('DRY') != '1':
    open(path, 'w', encoding='utf-8').write(text.replace(old, new))
PY
}

# The faults of the list, one "n<TAB>line" each, after the comments and the PATTERN filter.
faults=()
while IFS= read -r line || [ -n "$line" ]; do
    [[ -z ${line//[[:space:]]/} || $line == \#* ]] && continue
    [[ -n $pattern && $line != *"$pattern"* ]] && continue
    faults+=("$line")
done <"$list"

if $check_only; then
    bad=0
    for line in "${faults[@]}"; do
        problem=
        if ! split_line "$line"; then
            problem="not four TAB-separated fields"
        elif [ ! -f "$file" ]; then
            problem="no such file: $file"
        else
            rc=0
            DRY=1 apply_fault "$file" "$from" "$to" || rc=$?
            case $rc in
                0) ;;
                2) problem="text not found exactly once in $file: $from" ;;
                3) problem="the faulty text is the text itself: $from" ;;
                *) problem="cannot read $file" ;;
            esac
        fi
        if [ -n "$problem" ]; then
            echo "mutate: $problem" >&2
            bad=$((bad + 1))
        fi
    done
    echo "mutants: ${#faults[@]}, invalid $bad"
    ((bad == 0))
    exit
fi

# A copy of the tracked files (and of untracked ones that git does not ignore). Only files whose
# content differs are copied, with a fresh time stamp, so the build redoes exactly what changed
# (a fault left behind by an interrupted run included).
scratch=$top/$dir/src
mkdir -p "$scratch"
mapfile -d '' -t tracked < <(git ls-files -z --cached --others --exclude-standard)
declare -A wanted=()
for f in "${tracked[@]}"; do
    [ -f "$f" ] || continue
    wanted[$f]=1
    if ! cmp -s "$f" "$scratch/$f"; then
        mkdir -p "$scratch/$(dirname "$f")"
        cp "$f" "$scratch/$f"
    fi
done
while IFS= read -r -d '' f; do
    f=${f#./}
    [[ -n ${wanted[$f]+set} ]] || rm -f "$scratch/$f"
done < <(cd "$scratch" && find . -path ./build -prune -o -type f -print0)
cd "$scratch"

# The same flags as every other debug build here, so ccache serves the first build.
configure=(-DKALVO_WERROR=ON)
command -v ccache >/dev/null && configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
jobs=$(nproc)
bin=build/debug/tests
failed=

# The unit test programs, one per folder of tests/unit (unit_config for src/config ...), and
# the GUI test programs, one per file of tests/gui.
units=() guis=()
for d in tests/unit/*/; do
    d=${d%/}
    units+=("unit_${d##*/}")
done
for g in tests/gui/*_test.cpp; do
    [ -f "$g" ] || continue
    g=${g##*/}
    guis+=("gui_${g%.cpp}")
done

# Runs each unit test program whole (much faster than a process per test case), the one of
# the fault's own folder first; false at the first that fails.
run_units() {
    local own=$1 u order=()
    [[ -n $own ]] && order+=("$own")
    for u in "${units[@]}"; do [[ $u == "$own" ]] || order+=("$u"); done
    for u in "${order[@]}"; do
        [[ -x $bin/$u ]] || continue
        failed=$bin/$u
        (cd "$bin" && timeout -k 30 "$timeout" "./$u" >/dev/null 2>&1) || return 1
    done
}

# The tests of one CTest label, or of every label but these ("-LE REGEX"), as they always run.
run_ctest() {
    failed="ctest --preset debug $*"
    timeout -k 30 "$timeout" ctest --preset debug -j "$jobs" --stop-on-failure "$@" \
        >/dev/null 2>&1
}

build() { cmake --build --preset debug -j "$jobs" "$@" >/dev/null 2>&1; }

echo "mutate: building the unchanged copy in $dir/src/build/debug"
cmake --preset debug "${configure[@]}" >/dev/null
cmake --build --preset debug -j "$jobs" >/dev/null
if ! run_units "" || ! run_ctest -L gui || ! run_ctest -LE "unit|gui"; then
    echo "mutate: the unchanged copy fails its tests ($failed in $dir/src); fix them first" >&2
    exit 1
fi

# Tests one fault written into the copy, cheapest suites first, until one fails. A core fault
# meets the unit test programs (only they are relinked for it), then the GUI tests, then the
# end-to-end tests; a window's fault meets the GUI tests (nothing else links the windows).
try_fault() {
    local file=$1 own=
    result=caught
    if [[ $file == src/*/ui/* ]]; then
        build --target "${guis[@]}" || { result=invalid; return; }
        run_ctest -L gui || return 0
    else
        if [[ $file == src/* && $file != src/platform/qt/* ]]; then
            own=${file#src/}
            own=unit_${own%%/*}
            build --target "${units[@]}" || { result=invalid; return; }
            run_units "$own" || return 0
        fi
        build || { result=invalid; return; }
        run_ctest -L gui || return 0
        run_ctest -LE "unit|gui" || return 0
    fi
    result=survived
}

current=
restore() {
    if [ -n "$current" ] && [ -f "$current.orig" ]; then
        mv "$current.orig" "$current"
        touch "$current"
    fi
    current=
}
trap restore EXIT
trap 'exit 130' INT TERM

caught=0 survived=0 invalid=0 n=0
rows=()
for line in "${faults[@]}"; do
    n=$((n + 1))
    started=$SECONDS
    result=invalid
    if ! split_line "$line"; then
        file=${line%%$'\t'*}
        why="not four TAB-separated fields"
    elif [ ! -f "$file" ]; then
        why="no such file: $file"
    else
        current=$file
        cp -p "$file" "$file.orig"
        if ! apply_fault "$file" "$from" "$to"; then
            why="text not found once: $from"
        else
            try_fault "$file"
            [[ $result == invalid ]] && why="does not build: $why"
        fi
        restore
    fi
    case $result in
        caught) caught=$((caught + 1)) ;;
        survived) survived=$((survived + 1)) ;;
        *) invalid=$((invalid + 1)) ;;
    esac
    row=$(printf '%3d  %-8s %4ds  %-36s  %s' "$n" "$result" $((SECONDS - started)) "$file" "$why")
    rows+=("$row")
    echo "$row"
done

# Leave the copy built as it is in the tree.
build || true
echo
echo "  #  result     time  file                                  why"
printf '%s\n' "${rows[@]}"
echo "mutants: $n, caught $caught, survived $survived, invalid $invalid (${SECONDS}s)"
((survived == 0 && invalid == 0))
