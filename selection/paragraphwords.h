#pragma once

class QString;

// A typed paragraph reduced to its words, each followed by one space, the
// whole trimmed: "Hello, world!\nBye." gives "Hello world Bye". Punctuation
// and line breaks are not kept. Words are Unicode words ("Café" is one).
QString paragraphWords(const QString &text);
