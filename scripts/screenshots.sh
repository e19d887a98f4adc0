#!/usr/bin/env bash
# ./scripts/screenshots.sh: builds the grab program and makes the README's pictures of the
# four windows, docs/<window>.png, and the same at device pixel ratio 2, docs/<window>-2x.png.
# The windows run offscreen with the Japanese fonts and Qt's Japanese translations; Vornilex
# runs on a sample folder of Shift_JIS files written here into a temporary folder.
# BUILD_DIR chooses the build folder (default: build/).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
. scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"
build=${BUILD_DIR:-$ROOT/build}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$ROOT" -B "$build" -G Ninja >&2
fi
cmake --build "$build" --target grab_windows >&2

sample=$(mktemp -d)
trap 'rm -rf "$sample"' EXIT
desktop="$sample/WINDOWS/ﾃﾞｽｸﾄｯﾌﾟ"
mkdir -p "$desktop"
# write NAME LINE...: one file of the sample, in code page 932 with CR LF line ends.
write() {
    local name=$1; shift
    printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932 > "$desktop/$name"
}
write neko.txt \
    "吾輩は猫である。名前はまだ無い。" \
    "どこで生れたかとんと見当がつかぬ。" \
    "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。" \
    "吾輩はここで始めて人間というものを見た。" \
    "しかもあとで聞くとそれは書生という人間中で一番獰悪な種族であったそうだ。" \
    "この書生というのは時々我々を捕えて煮て食うという話である。" \
    "しかしその当時は何という考もなかったから別段恐しいとも思わなかった。" \
    "ただ彼の掌に載せられてスーと持ち上げられた時何だかフワフワした感じがあったばかりである。" \
    "掌の上で少し落ちついて書生の顔を見たのがいわゆる人間というものの見始であろう。" \
    "この時妙なものだと思った感じが今でも残っている。" \
    "第一毛をもって装飾されべきはずの顔がつるつるしてまるで薬缶だ。" \
    "その後猫にもだいぶ逢ったがこんな片輪には一度も出会わした事がない。"
write memo.txt \
    "買い物メモ" \
    "牛乳、パン、卵" \
    "猫の餌を忘れないこと" \
    "ＡＢＣ商店は月曜定休"
write 日記.txt \
    "十二月十一日　晴れ" \
    "朝、隣の猫が庭に来た。" \
    "午後は図書館で調べもの。"
write notes.htm \
    "<html><body>" \
    "<p>検索の練習用のページです。</p>" \
    "</body></html>"

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
mkdir -p docs
QT_SCALE_FACTOR=1 "$build/scripts/screenshots/grab_windows" docs "$sample"
QT_SCALE_FACTOR=2 "$build/scripts/screenshots/grab_windows" docs "$sample" -2x
