#pragma once

// Keeps editors cheap for assistive tools that are not there.
//
// QScintilla's accessibility interface reports every change and caret move as a
// character offset counted from the start of the document, so a keystroke costs
// time in proportion to the document's size. Qt creates a widget's interface when
// the widget is first shown, whether or not a tool listens. While none does,
// editors get a plain interface; when one starts, those are dropped, and the next
// request gets QScintilla's full text interface.
namespace EditorAccessibility {

// Idempotent; call after the first editor is constructed (QScintilla installs its
// own factory then) and before it is shown.
void install();

} // namespace EditorAccessibility
