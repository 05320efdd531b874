#pragma once
// Marks a text the window shows in the operator's language: it stays the text itself here (the
// core has no Qt), while Qt's lupdate, run with
// -tr-function-alias QT_TRANSLATE_NOOP+=LUMA_TRANSLATE_NOOP, collects it into the window's
// catalogues under `context`. The window translates it through Operator::Translate.
#define LUMA_TRANSLATE_NOOP(context, text) text
