#pragma once

#include <QString>

namespace tavomi {

// The shorthand code (速记码) of a goods name: every ASCII character stays as it is, every
// GB 2312 hanzi becomes the upper-case initial of its pinyin, any other double-byte
// character becomes "M". The name is trimmed first. 瓜子 -> GZ.
QString ShorthandCode(const QString &name);

// The pinyin initial of one two-byte GB 2312 code (first byte * 256 + second byte), "M" outside the table.
QChar gb2312Initial(int code);

} // namespace tavomi
