#!/usr/bin/env bash
# The batch tool timed from outside, whole processes, each figure against a baseline measured
# in the same hyperfine run:
#  1. one 6000 x 4000 24-bit BMP (72 MB): every single-file operation against `cp` of the file
#     (limits: 1.5x for the point operations, 2.5x for blur, the flips and stretch);
#  2. 100 BMPs of 2000 x 1500: the folder mode against GNU parallel running the single-file
#     command once per picture (limit 0.5x) and against ImageMagick's mogrify.
# Usage: bench/cli-floor.sh [BUILD_DIR] [RUNS]   (defaults: build, 20). Needs hyperfine,
# parallel and imagemagick, installed here with apt-get when missing. Not run by CI.
set -euo pipefail

build=$(realpath "${1:-build}")
runs=${2:-20}
cli=$build/bin/norvalytintora-cli
[ -x "$cli" ] || { echo "no $cli: build the norvalytintora-cli target first" >&2; exit 1; }

need=()
command -v hyperfine >/dev/null || need+=(hyperfine)
command -v parallel >/dev/null || need+=(parallel)
[ -x /usr/bin/mogrify ] || need+=(imagemagick)
if [ ${#need[@]} -gt 0 ]; then
    sudo=$([ "$(id -u)" = 0 ] || echo sudo)
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/cli-floor.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
echo "machine: $(nproc) cores; load: $(cut -d' ' -f1-3 /proc/loadavg)"

# Ratios of each command's median to the first's, from hyperfine's CSV (median: the machine
# may be shared, and a slow outlier says nothing about the program).
ratios() {
    awk -F, -v limits="$2" 'BEGIN { n = split(limits, limit, " ") }
        NR == 1 { next }
        NR == 2 { base = $4; printf "%-40s %9s %9s %7s\n", "command", "mean ms", "median ms", "ratio" }
        { r = $4 / base; lim = limit[NR - 1]
          verdict = lim == "-" ? "" : (r <= lim ? "within " lim : "OVER " lim)
          printf "%-40s %9.1f %9.1f %7.2f  %s\n", substr($1, 1, 40), $2 * 1000, $4 * 1000, r, verdict }' "$1"
}

# 1. One large picture.
/usr/bin/convert -size 6000x4000 gradient:'#203040-#e0c0a0' -type TrueColor BMP3:big.bmp
"$cli" big.bmp big.bmp noise 40 # content that changes along the rows too
point=(invert gray remove-red remove-green remove-blue "rgb 10 -20 30" "brightness 25")
whole=(blur flip-v flip-h flip-both "stretch 4000 6000")
commands=(-n cp "cp big.bmp copy.bmp")
limits="-"
for op in "${point[@]}"; do commands+=(-n "$op" "$cli big.bmp out.bmp $op"); limits+=" 1.5"; done
for op in "${whole[@]}"; do commands+=(-n "$op" "$cli big.bmp out.bmp $op"); limits+=" 2.5"; done
hyperfine -N --warmup 3 --runs "$runs" --export-csv single.csv "${commands[@]}" >/dev/null
echo
echo "One 6000 x 4000 24-bit BMP, against cp of the file:"
ratios single.csv "$limits"

# 2. A folder of pictures.
"$cli" big.bmp one.bmp stretch 2000 1500
mkdir in
for i in $(seq -w 1 100); do cp one.bmp "in/p$i.bmp"; done
folder_run() { # ours, GNU parallel with ours, mogrify: the same operation
    local ours=$1 magick=$2
    rm -rf out-*
    mkdir out-parallel out-mogrify
    hyperfine --warmup 1 --runs "$(( runs < 10 ? runs : 10 ))" --export-csv folder.csv \
        --prepare 'rm -rf out-folder out-parallel/* out-mogrify/*' \
        -n "GNU parallel of the single-file command" \
        "parallel --will-cite $cli {} out-parallel/{/.}.bmp $ours ::: in/*.bmp" \
        -n "folder mode" "$cli --out-dir out-folder in/*.bmp $ours" \
        -n "mogrify" "/usr/bin/mogrify -path out-mogrify $magick in/*.bmp" >/dev/null
    echo
    echo "100 BMPs of 2000 x 1500, $ours (mogrify $magick), against GNU parallel of the single-file command:"
    ratios folder.csv "- 0.5 -"
}
folder_run invert -negate
folder_run flip-v -flop
