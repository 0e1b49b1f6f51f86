// The editor command of a hit: the parameter template "EditorParam" with its markers expanded, the
// parameters split into program arguments, and the choice of the editor program itself.
//
// Markers: "&F" the full path, "&D" the folder, "&N" the name, each between double quotes, and "&L" the
// line number (1 for a row of the file list); "&&" is a literal "&" whose next character never starts a
// marker. Markers are case-sensitive; "?F", "?D" and "?N" written in the template count as "&F", "&D" and
// "&N". A value is never searched for further markers, even a file name that holds "?D".
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct FOUND_F;
struct FOUND_M;

// What the actions need of a hit, in native form (the form that opens the file even when code page 932
// cannot spell its name).
struct HitTarget {
  std::string path;    // full path
  std::string folder;  // the folder holding it
  std::string name;    // the last component of the path
  int line = 1;        // the hit's line; 1 for a file or folder hit
};

HitTarget TargetOf(const FOUND_F& hit);
HitTarget TargetOf(const FOUND_M& hit);

// The expanded parameters as one text, and for each of its bytes whether it came from a value's text (a
// path, a name or a line number): such bytes are always part of an argument, never a quote or a separator,
// so a path that holds a double quote or a blank still reaches the editor whole.
struct EditorParameters {
  std::string text;
  std::vector<bool> fromValue;
};

// Expands `templ` for `hit`. Byte-wise: the template and the values share one encoding (native).
EditorParameters ExpandEditorParam(std::string_view templ, const HitTarget& hit);

// Splits the parameters into arguments as a shell does with double quotes: blanks (space, tab) outside
// double quotes separate arguments, double quotes group and are removed ("" gives an empty argument), an
// unclosed quote groups to the end. A backslash and a single quote are ordinary characters.
std::vector<std::string> SplitParameters(const EditorParameters& parameters);

// The program to start and the template to expand for it, or: open the file by association instead.
struct EditorChoice {
  std::string program;
  std::string param;
  bool byAssociation = false;
};

// The installed editors tried in this order when the default editor is missing, each with the template
// that opens a file at a line.
struct KnownEditor {
  const char* program;
  const char* param;
};
extern const std::vector<KnownEditor> kKnownEditors;

// "EditorFile" and "EditorParam" as written, except for the untouched default "Notepad.exe" while no
// program of that name is installed (`installed` answers that for a program name): then the first
// installed editor of kKnownEditors, with its own template in place of the default "&F /&L" (a template
// the user set stays), or by association when none is installed.
EditorChoice ChooseEditor(const std::string& editorFile, const std::string& editorParam,
                          const std::function<bool(const std::string& program)>& installed);
