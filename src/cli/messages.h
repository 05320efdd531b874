#pragma once
// What luma-cli tells the operator on standard error, and its help, in one language a run:
// Russian or English (see language.h). Data on standard output is never translated.
//
// luma-cli's own texts are written in both languages where they are used. The core speaks in two
// ways: the marking session's texts (marking_texts.h) are Russian, as the window shows them, and
// the details it adds (a file's name and what went wrong with it) are English; both are brought
// into the run's language here.

#include <initializer_list>
#include <string>
#include <string_view>

#include "language.h"

namespace luma::cli {

// One text of luma-cli in both languages; "%1" to "%9" are taken by the arguments of Say.
struct Text {
    std::string_view russian;
    std::string_view english;
};

// What luma-cli says to the operator, in the language chosen for the run. main() makes one from
// the environment and hands it to whatever writes messages or help, so which language a text
// comes out in is decided by its caller rather than by a setting held somewhere else.
class Voice {
public:
    explicit Voice(Language language) : m_language(language) {}

    Language language() const { return m_language; }

    // `text` in the run's language, its places "%1", "%2", ... taken by `arguments` in order.
    std::string Say(const Text& text, std::initializer_list<std::string_view> arguments = {}) const;

    // A text of the marking session (Russian, one of marking_texts.h) in the run's language.
    std::string CoreText(std::string_view russian) const;

    // A detail the core gives in English, such as "cannot open a.iso: no such file", in the
    // run's language; names of files, tags and numbers stay as they are. A detail not known
    // here is given as it is.
    std::string CoreDetail(std::string_view english) const;

    // A message of the marking session as one line in the run's language: its lines (the
    // session's text, then perhaps a detail) joined by one blank.
    std::string SessionMessage(std::string_view message) const;

private:
    Language m_language;
};

// A text of the core the window translates (one of marking_texts.h, or why a file's character
// set was taken) in English whatever the run's language: for standard output, which is never
// translated. A text not known here is given as it is.
std::string CoreTextInEnglish(std::string_view russian);

}  // namespace luma::cli
