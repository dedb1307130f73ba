// Marking the texts the user sees, for the translators.
//
// The core works in its Chinese texts: they are what the models compare, what the tests
// check and what the Chinese interface shows byte for byte. QM_TR marks such a text so the
// translation tools find it (lupdate reads it as QT_TR_NOOP); it expands to the text itself
// and costs nothing. The window and the command line translate the marked texts where they
// show them (platform/translation.h).
//
// A text built from pieces is written as one marked template with numbered places and
// filled with Fill, so a translator sees the whole sentence and may reorder the places:
//   Fill(QM_TR("信道%1为空。"), {std::to_string(n)})
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#define QM_TR(text) text
// A marked text that counts something: "%n" is the count, so that a translation can have a
// form for one and one for many ("1 channel", "2 channels"). Filled with FillCount; lupdate
// reads it as QT_TR_N_NOOP.
#define QM_TR_N(text) text
// A Chinese text that is data and stays the same in every language: a file format's own
// words, a font's name, a language's own name. Expands to the text itself.
#define QM_NOTR(text) text

namespace qm {

// The template with "%1".."%9" replaced by the arguments; a place without an argument
// and a "%" before anything else stay as written.
std::string Fill(std::string_view tmpl, std::initializer_list<std::string_view> args);
// The same, with "%n" replaced by the count.
std::string FillCount(std::string_view tmpl, long long count,
                      std::initializer_list<std::string_view> args = {});

// The notes of an edit or an import below its message, a line each: the first 20, then how
// many there are in all, so that the box fits on the screen.
std::string JoinNotes(const std::vector<std::string>& notes);

}  // namespace qm
