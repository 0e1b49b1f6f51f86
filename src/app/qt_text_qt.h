// The edge between the system's code page 932 texts and the toolkit's strings. Everything the window
// shows passes through here once, at the moment it is shown; everything it reads goes back to code
// page 932 here.
#pragma once

#include <QFont>
#include <QString>
#include <string>
#include <string_view>

// A code page 932 text as the toolkit shows it.
QString QtFromCp932(std::string_view cp932);
// A toolkit text in code page 932 (characters code page 932 cannot hold become "?").
std::string Cp932FromQt(const QString& text);
// A native path or text (UTF-8 bytes, possibly not well-formed) as the toolkit shows it, and back. The
// native form is what opens a file; never rebuild it from the code page 932 form.
QString QtFromNative(std::string_view native);
std::string NativeFromQt(const QString& text);
// A string-table text (code page 932) by its number, as the toolkit shows it.
QString QtString(int id);

// `base` preferring the Japanese font installed with the program for every character, Latin letters,
// digits and brackets included: otherwise a bracket after a kana takes the Japanese font's form and one
// after a letter the Latin font's, and the brackets of one line differ in size. For panes of found text.
QFont JapaneseTextFont(const QFont& base);
