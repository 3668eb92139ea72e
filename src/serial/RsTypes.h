#pragma once

#include <cstdint>
#include <initializer_list>

// Enumerations of the serial-port component. Member order matters: it follows the
// platform's codes (parity, DTR/RTS control fields) and the published defaults.

enum TRsBaudrate {
    brUser,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};

enum TRsDatabits { db4, db5, db6, db7, db8 };
enum TRsParity { paNone, paOdd, paEven, paMark, paSpace };
enum TRsStopbits { sb1, sb15, sb2 };
enum TRsControlDtr { dtrDisabled, dtrEnabled, dtrHandshake };
enum TRsControlRts { rtsDisabled, rtsEnabled, rtsHandshake, rtsToggle };

enum TRsCommEvent {
    ceBreak,
    ceCts,
    ceDsr,
    ceError,
    ceRing,
    ceRlsd,
    ceRxChar,
    ceTxEmpty,
    ceRxFlag,
    cePErr,
    ceRx80Full,
    ceEvent1,
    ceEvent2
};

// A set of TRsCommEvent members, one bit per member.
class TRsCommEvents {
public:
    constexpr TRsCommEvents() = default;
    constexpr TRsCommEvents(std::initializer_list<TRsCommEvent> events) {
        for (auto e : events)
            bits_ |= bit(e);
    }
    constexpr bool contains(TRsCommEvent e) const { return (bits_ & bit(e)) != 0; }
    constexpr void insert(TRsCommEvent e) { bits_ |= bit(e); }
    constexpr void remove(TRsCommEvent e) { bits_ &= ~bit(e); }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr bool operator==(const TRsCommEvents&) const = default;

private:
    static constexpr std::uint32_t bit(TRsCommEvent e) { return 1u << static_cast<unsigned>(e); }
    std::uint32_t bits_ = 0;
};

// Priority of a background thread of the port, in the toolkit's order.
enum TRsThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

enum TRsCommOption { coErrorChar, coNullStrip };

// A set of TRsCommOption members.
class TRsCommOptions {
public:
    constexpr TRsCommOptions() = default;
    constexpr TRsCommOptions(std::initializer_list<TRsCommOption> options) {
        for (auto o : options)
            bits_ |= 1u << static_cast<unsigned>(o);
    }
    constexpr bool contains(TRsCommOption o) const {
        return (bits_ & (1u << static_cast<unsigned>(o))) != 0;
    }
    constexpr bool operator==(const TRsCommOptions&) const = default;

private:
    std::uint32_t bits_ = 0;
};
