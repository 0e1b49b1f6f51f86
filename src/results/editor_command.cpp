#include "results/editor_command.h"

#include "app/app_settings.h"
#include "platform/paths.h"
#include "search/found.h"

namespace {

HitTarget TargetOfPath(const std::string& path, int line) {
  HitTarget target;
  target.path = path;
  target.folder = std::string(platform::ParentFolder(path));
  target.name = std::string(platform::LastComponent(path));
  target.line = line;
  return target;
}

void Append(EditorParameters& out, std::string_view bytes, bool fromValue) {
  out.text.append(bytes);
  out.fromValue.insert(out.fromValue.end(), bytes.size(), fromValue);
}

// A path value: the text between double quotes that group it.
void AppendQuoted(EditorParameters& out, std::string_view value) {
  Append(out, "\"", false);
  Append(out, value, true);
  Append(out, "\"", false);
}

// One piece of the template, which holds no "&&". Every marker is replaced in one pass, so a value is
// never read again for markers.
void ExpandPiece(std::string_view piece, const HitTarget& hit, const std::string& line,
                 EditorParameters& out) {
  for (size_t i = 0; i < piece.size(); ++i) {
    const char c = piece[i];
    const char next = i + 1 < piece.size() ? piece[i + 1] : '\0';
    if (c == '&' && next == 'L') {
      Append(out, line, true);
    } else if ((c == '&' || c == '?') && next == 'F') {
      AppendQuoted(out, hit.path);
    } else if ((c == '&' || c == '?') && next == 'D') {
      AppendQuoted(out, hit.folder);
    } else if ((c == '&' || c == '?') && next == 'N') {
      AppendQuoted(out, hit.name);
    } else {
      Append(out, piece.substr(i, 1), false);
      continue;
    }
    ++i;
  }
}

}  // namespace

const std::vector<KnownEditor> kKnownEditors = {
    {"gedit", "+&L &F"},
    {"kate", "--line &L &F"},
    {"kwrite", "--line &L &F"},
    {"pluma", "+&L &F"},
    {"xed", "+&L &F"},
    {"geany", "--line=&L &F"},
    {"code", "--goto &F:&L"},
    // It takes no line on its command line that every version understands: the file opens at its top.
    {"gnome-text-editor", "&F"},
    {"mousepad", "&F"},
};

HitTarget TargetOf(const FOUND_F& hit) {
  return TargetOfPath(hit.nativePath, 1);
}

HitTarget TargetOf(const FOUND_M& hit) {
  return TargetOfPath(hit.NativePath(), hit.lineNumber);
}

EditorParameters ExpandEditorParam(std::string_view templ, const HitTarget& hit) {
  const std::string line = std::to_string(hit.line);
  EditorParameters out;
  size_t position = 0;
  while (position < templ.size()) {
    // A piece ends with the first "&" of a "&&", which stands for itself; the second one is dropped.
    const size_t pair = templ.find("&&", position);
    const size_t end = pair == std::string_view::npos ? templ.size() : pair + 1;
    ExpandPiece(templ.substr(position, end - position), hit, line, out);
    if (pair == std::string_view::npos) break;
    position = pair + 2;
  }
  return out;
}

std::vector<std::string> SplitParameters(const EditorParameters& parameters) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;
  bool quoted = false;
  for (size_t i = 0; i < parameters.text.size(); ++i) {
    const char c = parameters.text[i];
    const bool syntax = !parameters.fromValue[i];
    if (syntax && c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if (syntax && !quoted && (c == ' ' || c == '\t')) {
      if (inArgument) arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) arguments.push_back(std::move(current));
  return arguments;
}

EditorChoice ChooseEditor(const std::string& editorFile, const std::string& editorParam,
                          const std::function<bool(const std::string& program)>& installed) {
  // The default names the Windows editor, which a Linux desktop does not have: a user who never chose an
  // editor still gets one that opens the file at its line.
  const AppSettings defaults;
  if (editorFile != defaults.EditorFile || installed(editorFile)) return {editorFile, editorParam, false};
  const bool defaultParam = editorParam == defaults.EditorParam;
  for (const KnownEditor& editor : kKnownEditors) {
    if (installed(editor.program)) return {editor.program, defaultParam ? editor.param : editorParam, false};
  }
  return {"", "", true};
}
