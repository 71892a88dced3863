#!/usr/bin/env bash
# Prepares a run folder for a first run: a qdx.ini with two tabs of programs and folders that
# every Wine prefix has, in the layout the launcher itself writes (Shift-JIS, CR LF).
# Usage: scripts/make-demo.sh RUN_DIR
set -euo pipefail
dir=${1:?usage: make-demo.sh RUN_DIR}
mkdir -p "$dir"
target="$dir/qdx.ini"
[ -e "$target" ] && exit 0

entry() {  # tab index path name workpath attribute comment
  local tab=$1 n=$2 path=$3 name=$4 work=$5 attribute=$6 comment=$7
  printf '%s_FilePath_%d = "%s"\n' "$tab" "$n" "$path"
  printf '%s_FileName_%d = "%s"\n' "$tab" "$n" "$name"
  printf '%s_Arg_%d = ""\n' "$tab" "$n"
  printf '%s_WorkPath_%d = "%s"\n' "$tab" "$n" "$work"
  printf '%s_Attribute_%d = %d\n' "$tab" "$n" "$attribute"
  printf '%s_IconType_%d = 0\n' "$tab" "$n"
  printf '%s_Count_%d = 0\n' "$tab" "$n"
  printf '%s_Comment_%d = "%s"\n' "$tab" "$n" "$comment"
}

demo() {
  echo '; 設定ファイルを手動で編集した場合、正確なロードは保証されません'
  echo '[Info]'
  for style in 0 1 2 3 4; do
    echo "MainWindowPosX_$style = 30"
    echo "MainWindowPosY_$style = 30"
  done
  cat <<'EOF'
Sort = 3
Alpha = 255
TopMost = 0
MoveLock = 0
AutoHide = 0
Multi = 1
AutoHideTimer = 1000
DeadLink = 0
Tooltip = 1
DeleteCheck = 1
FileNotCheck = 0
ShortcutFull = 0
HotKey = 0
Style = 0
Size = 0
IconDraw = 2
Color = 10921638
BackGround = 0
Grid = 0
GridType = 0
GridColor = 0
CursorColor = 16777215
CursorGround = 0
CursorGradWay = 0
CursorGColorStart = 3153936
CursorGColorEnd = 16777215
GradWay = 0
GColorStart = 3153936
GColorEnd = 16777215
Version = 1
VersionMiner = 20
TabCount = 2
Tab_0 = "ツール"
Tab_0_Count = 5
Tab_1 = "フォルダ"
Tab_1_Count = 3
EOF
  local i=0 line name id
  echo 'MenuTotal = 10'
  for line in 'リンク先を開く:3' '親ディレクトリを開く:2' '登録されている他のアプリを使って開く:1' \
              '---セパレータ---:-1' '項目から削除:4' '---セパレータ---:-1' 'アイコンを再取得:6' \
              '個別にアイコンを設定する:7' '---セパレータ---:-1' '登録情報の編集:5'; do
    name=${line%:*}
    id=${line##*:}
    printf 'MenuName_%d = "%s"\nMenuPath_%d = ""\nMenuArg_%d = ""\nMenuID_%d = %d\n' \
      "$i" "$name" "$i" "$i" "$i" "$id"
    i=$((i + 1))
  done
  echo
  echo '[Tab_ツール]'
  entry 'ツール' 0 'C:\\windows\\notepad.exe' 'notepad.exe' 'C:\\windows' 32 'メモ帳'
  entry 'ツール' 1 'C:\\windows\\system32\\winecfg.exe' 'winecfg.exe' 'C:\\windows\\system32' 32 'Wine の設定'
  entry 'ツール' 2 'C:\\windows\\regedit.exe' 'regedit.exe' 'C:\\windows' 32 'レジストリ エディタ'
  entry 'ツール' 3 'C:\\windows\\system32\\cmd.exe' 'cmd.exe' 'C:\\windows\\system32' 32 'コマンド プロンプト'
  entry 'ツール' 4 'C:\\windows\\system32\\taskmgr.exe' 'taskmgr.exe' 'C:\\windows\\system32' 32 'タスク マネージャ'
  echo
  echo '[Tab_フォルダ]'
  entry 'フォルダ' 0 'C:\\windows' 'windows' 'C:' 16 'Windows フォルダ'
  entry 'フォルダ' 1 'C:\\windows\\system32' 'system32' 'C:\\windows' 16 ''
  entry 'フォルダ' 2 'C:\\users\\Public' 'Public' 'C:\\users' 16 '共有フォルダ'
}

# The launcher reads and writes Shift-JIS with CR LF line ends; the last line ends too.
demo | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$target.tmp"
mv "$target.tmp" "$target"
echo "demo settings written to $target"
