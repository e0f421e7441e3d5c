#pragma once

#include <QString>

namespace core {

// Turns a statement written in the Access (Jet) dialect into one SQLite
// accepts. Works on tokens: the inside of a string literal is never altered.
//
//  - [name]               -> "name"
//  - "text" (Jet string)  -> 'text'
//  - #yyyy-m-d#, #m/d/yyyy# -> 'yyyy-MM-dd' (a time part -> ' HH:mm:ss')
//  - true / false         -> -1 / 0 (Jet's stored values)
//  - bare digit column names in an UPDATE's set list (set 1='-1',2='0') -> "1", "2"
//  - delete X from X ... / delete * from X ... -> delete from X ...
//  - unary plus before a quoted text (=+'abc') -> ='abc'
//  - & (Jet's text concatenation) -> ||
// Anything else, spacing and line breaks included, is copied as it stands;
// a statement that needs no change comes back as the same shared string.
QString translateAccessSql(const QString &sql);

} // namespace core
