#pragma once

#include <QString>
#include <stdexcept>

namespace core { class TDM1; }

namespace points {

// The numeric part of a ledger number is a 32-bit signed integer.
inline constexpr long long kLastLedgerNumber = 2147483647;

class LedgerFull : public std::runtime_error {
public:
    LedgerFull();
};

// The number after `largest` (the text of max(编号)): ten digits, zero-padded.
// Throws core::ConversionError for a largest number that is no integer and
// LedgerFull past the last number.
QString ledgerNumberAfter(const QString &largest);

// One above the largest ledger number in 流水记录 (runs on ADOall). Inside
// the posting's write transaction this is the number the posting writes.
QString nextLedgerNumber(core::TDM1 &dm);

} // namespace points
