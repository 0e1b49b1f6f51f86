#include "resources/strings.h"

#include <map>

#include "platform/cp932.h"

namespace {

struct Entry {
  int id;
  const char* text;  // UTF-8
};

constexpr Entry kStrings[] = {
    {160, "日時/サイズ"},
    {161, "属性"},
    {162, "検索条件"},
    {163, "簡易表示/エディタ"},
    {164, "その他"},
    {IDS_PAST_DAYS, "過去(&D)"},
    {IDS_FUTURE_DAYS, "未来(&D)"},
    {IDS_PAST_TIME, "過去(&T)"},
    {IDS_FUTURE_TIME, "未来(&T)"},
    {IDS_LOCATION_EMPTY, "「場所」が空なので検索しません。"},
    {IDS_LOCATION_UNKNOWN, "「場所」が特定できないので検索しません。"},
    {IDS_KINDS_ALL_OFF, "「テキスト」「ファイル」「フォルダ」が全てオフなので検索しません。"},
    {IDS_PATTERN_EMPTY, "「文字列」が空なので「テキスト検索」はしません。"},
    {IDS_SAVE_FAILED, "ファイルに保存できませんでした。"},
    {IDS_TIP_BROWSE_EDITOR, "参照"},
    {IDS_TIP_BROWSE_SOUND, "参照"},
    {IDS_TIP_PLAY_SOUND, "再生"},
    {256, "ファイル"},
    {257, "フォルダ"},
    {258, "サイズ"},
    {259, "更新日時"},
    {260, "種類"},
    {261, "属性"},
    {262, "ﾌｫﾙﾀﾞ数"},
    {263, "ﾌｧｲﾙ数"},
    {272, "ファイル"},
    {273, "フォルダ"},
    {274, "行"},
    {275, "内容"},
    {IDS_MENU_OPEN_ASSOCIATED, "関連付けで開く(&J)"},
    {IDS_MENU_OPEN_EDITOR, "指定したエディタで開く(&E)"},
    {IDS_MENU_OPEN_FOLDER, "フォルダを開く(&O)"},
    {IDS_MENU_COPY_PATH, "フルパスをコピー(&P)"},
    {IDS_MENU_PAST, "過去(&P)"},
    {IDS_MENU_FUTURE, "未来(&F)"},
    {IDS_MENU_SUBFOLDER_SWITCH, "サブフォルダの有無(&S)"},
    {IDS_MENU_DEPTH_LEVELS, "階層の深度(&D)"},
    {IDS_ABOUT_CAPTION, "バージョン情報"},
    {IDS_ABOUT_VERSION, "Serquin Version 1.3.9"},
    {IDS_WHITE_CAPTION, "確認 - Serquin"},
    {IDS_WHITE_TEXT, "文字列の末尾に空白があります"},
    {IDS_WHITE_CONTINUE, "続行"},
    {IDS_WHITE_ABORT, "中止"},
    {IDS_WHITE_DONT_ASK, "今後このメッセージを出さない"},
    {IDS_COMMAND_LINE_CAPTION, "コマンドライン引数"},
    {IDS_HELP_CAPTION, "Serquin ヘルプ"},
    {IDS_PROFILE_UNREADABLE,
     "設定ファイル %1 を読めません。\n既定の設定で起動します。このファイルには書き込みません。\n\n(%2)"},
    {IDS_EDITOR_NOT_STARTED,
     "エディタで開けませんでした。\n\n%1\n\n設定の「簡易表示/エディタ」でエディタを指定してください。"},
};

}  // namespace

const char* LoadStringUtf8(int id) {
  for (const Entry& entry : kStrings) {
    if (entry.id == id) return entry.text;
  }
  return "";
}

const std::string& LoadString(int id) {
  // Converted once; the table never changes while the program runs.
  static const std::map<int, std::string> table = [] {
    std::map<int, std::string> converted;
    for (const Entry& entry : kStrings) converted[entry.id] = platform::Cp932FromUtf8(entry.text);
    return converted;
  }();
  static const std::string empty;
  auto it = table.find(id);
  return it == table.end() ? empty : it->second;
}
