#pragma once

#include <cstddef>
#include <cstdint>

namespace snmp {

// One item of a value text in binary form: the value in a new memory block (plat::AllocBlock) that
// the receiver frees, or null for the codes that carry no value (opaque, null, unknown codes).
struct ValueItem {
    std::int32_t type = 0;  // SnmpValueType; the fixed-length codes 10 to 15 become octet strings
    void* value = nullptr;
    std::int32_t length = 0;
};

// Reads the items of an SnmpValueText ("1,25,2,3,abc,3,10.0.0.1") within the length its caller gave.
// A value other than an octet string ends at the next comma, at a NUL or at that length; an octet
// string's bytes may be anything, commas and NULs included, but never more than remain.
class ValueTextReader {
  public:
    ValueTextReader(const char* text, std::size_t length) : next_(text), end_(text + length) {}

    // Reads the next item. False, with the reader where it was, when the text breaks the form: no
    // comma after the code, an octet string without its count, a count or fixed length beyond the
    // text, or no memory.
    bool ReadItem(ValueItem& item);

    const char* Cursor() const { return next_; }
    // The last item ended the text.
    bool Finished() const { return next_ == end_ || *next_ == '\0'; }

  private:
    // The text from the cursor up to the next comma, NUL or the end; the cursor moves past the
    // comma. `ended` tells whether no comma was found.
    void TakeField(const char*& begin, const char*& end, bool& ended);
    bool ReadBytes(std::size_t count, ValueItem& item);
    void SkipSeparator();

    const char* next_;
    const char* end_;
};

}  // namespace snmp
