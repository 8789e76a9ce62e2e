#pragma once

#include <cstddef>
#include <cstdint>

// Line parameters of the serial port, in the fixed 16-byte layout both programs exchange.
struct ComParameter
{
    std::int32_t baudRate = 9600;
    std::uint8_t parity = 0; // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::int32_t dataBits = 8;
    std::uint8_t stopBits = 0; // 0 = 1, 1 = 1.5, 2 = 2

    bool operator==(const ComParameter& other) const
    {
        return baudRate == other.baudRate && parity == other.parity && dataBits == other.dataBits &&
               stopBits == other.stopBits;
    }
    bool operator!=(const ComParameter& other) const { return !(*this == other); }

    // The component's standard parameters: 9600 baud, 8 data bits, no parity, 1 stop bit.
    static ComParameter Standard() { return ComParameter(); }
    // True when every field holds a value the port can be asked for.
    bool IsValid() const
    {
        return baudRate > 0 && parity <= 4 && dataBits >= 5 && dataBits <= 8 && stopBits <= 2;
    }
};

static_assert(sizeof(ComParameter) == 16, "ComParameter is 16 bytes");
static_assert(offsetof(ComParameter, baudRate) == 0, "baudRate at +0");
static_assert(offsetof(ComParameter, parity) == 4, "parity at +4");
static_assert(offsetof(ComParameter, dataBits) == 8, "dataBits at +8");
static_assert(offsetof(ComParameter, stopBits) == 12, "stopBits at +12");
