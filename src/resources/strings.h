// The program's string table: the Japanese texts the user sees, looked up by their numbers.
#pragma once

#include <string>

enum StringId : int {
  IDS_TAB_FIRST = 160,           // 160..164: titles of the settings dialog's five tabs
  IDS_PAST_DAYS = 192,           // the date page's days button: past
  IDS_FUTURE_DAYS = 193,         //   ... future
  IDS_PAST_TIME = 194,           // the date page's time-span button: past
  IDS_FUTURE_TIME = 195,         //   ... future
  IDS_LOCATION_EMPTY = 224,      // the location is empty
  IDS_LOCATION_UNKNOWN = 225,    // the location cannot be determined
  IDS_KINDS_ALL_OFF = 226,       // text, file and folder are all off
  IDS_PATTERN_EMPTY = 227,       // the string is empty, so no text search
  IDS_SAVE_FAILED = 232,         // the results file could not be saved
  IDS_TIP_BROWSE_EDITOR = 1351,  // tooltips of the settings pages' icon buttons: browse for the editor,
  IDS_TIP_BROWSE_SOUND = 1411,   // browse for the end sound,
  IDS_TIP_PLAY_SOUND = 1412,     // play the end sound
  IDS_FILE_COLUMN_FIRST = 256,   // 256..263: titles of the file list's columns 0..7
  IDS_TEXT_COLUMN_FIRST = 272,   // 272..275: titles of the text list's columns 0..3
  // The result lists' context menu; each text has the number of its menu command.
  IDS_MENU_OPEN_ASSOCIATED = 32771,  // open by association
  IDS_MENU_OPEN_EDITOR = 32772,      // open in the configured editor
  IDS_MENU_OPEN_FOLDER = 32773,      // open the containing folder
  IDS_MENU_COPY_PATH = 32774,        // copy the full path
  // The settings pages' context menus, numbered like their commands.
  IDS_MENU_PAST = 32791,             // past/future buttons: past
  IDS_MENU_FUTURE = 32792,           //   ... future
  IDS_MENU_SUBFOLDER_SWITCH = 32793, // depth mode: subfolders yes/no
  IDS_MENU_DEPTH_LEVELS = 32794,     // depth mode: a number of levels
  // Texts of the small dialogs, numbered after their dialog (dialog number x 100 + n).
  IDS_ABOUT_CAPTION = 10000,     // about box
  IDS_ABOUT_VERSION = 10001,     // the version line
  IDS_WHITE_CAPTION = 12700,     // trailing-blank question
  IDS_WHITE_TEXT = 12701,
  IDS_WHITE_CONTINUE = 12702,
  IDS_WHITE_ABORT = 12703,
  IDS_WHITE_DONT_ASK = 12704,
  IDS_COMMAND_LINE_CAPTION = 15600,  // command-line dialog
  // Texts of the application shell.
  IDS_HELP_CAPTION = 20000,          // help window, before the page's own title
  IDS_PROFILE_UNREADABLE = 20001,    // %1 the profile, %2 the reason
  // Texts of the actions on hits.
  IDS_EDITOR_NOT_STARTED = 20100,    // %1 the editor program, or the file when none was found
};

// The text of a string in code page 932; empty for an unknown number.
const std::string& LoadString(int id);

// The same text in UTF-8, for terminals and toolkits.
const char* LoadStringUtf8(int id);
