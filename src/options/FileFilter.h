#pragma once

#include <QString>

// A file-open filter written as "description|patterns|description|patterns...", patterns
// separated by ";", in the form Qt's file dialogs take: one "description (patterns)" entry
// per pair, patterns separated by blanks, entries by ";;". A description that already ends
// in its pattern list in parentheses keeps just the words before it.
//   "Sounds *.wav|*.wav"                           -> "Sounds *.wav (*.wav)"
//   "Pictures (*.bmp;*.gif;*.jpg)|*.bmp;*.gif;*.jpg" -> "Pictures (*.bmp *.gif *.jpg)"
QString qtFileFilter(const QString& filter);
