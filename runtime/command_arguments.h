// The arguments a command routine is handed, read through one view. A record
// past the count reads as omitted, so a short call never reaches beyond the
// caller's array, and a missing or omitted record reads as the default the
// routine names.
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace velmora {

class CommandArguments {
  public:
    CommandArguments(int count, const ValueRecord* records)
        : count_(count > 0 ? count : 0), records_(records) {}

    int Count() const { return count_; }

    // The record as passed; past the count, an omitted record.
    const ValueRecord& operator[](int index) const {
        static const ValueRecord kOmittedRecord;
        return index >= 0 && index < count_ ? records_[index] : kOmittedRecord;
    }
    // Passed and not omitted.
    bool Given(int index) const { return !(*this)[index].Omitted(); }

    int32_t Int(int index, int32_t fallback = 0) const {
        return Given(index) ? (*this)[index].Int() : fallback;
    }
    const char* Text(int index, const char* fallback = "") const {
        return Given(index) ? (*this)[index].Text() : fallback;
    }

  private:
    int count_;
    const ValueRecord* records_;
};

}  // namespace velmora
