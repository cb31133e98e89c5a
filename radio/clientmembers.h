// The members of org.vanto.XMRadio that the window's client uses, with the argument types it sends
// and reads. The client builds its calls and reads its signals from these alone, and the build
// compares this list with bus/org.vanto.XMRadio.xml (radio/clientcheck.cpp): a name or an
// argument that differs from the interface stops the build instead of going silent on the bus.
#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

namespace xmradio::client {

// D-Bus's letter for each argument type the client knows.
template <typename T> inline constexpr char TypeCode = '\0';
template <> inline constexpr char TypeCode<bool> = 'b';
template <> inline constexpr char TypeCode<qint32> = 'i';
template <> inline constexpr char TypeCode<double> = 'd';
template <> inline constexpr char TypeCode<QString> = 's';

enum class Kind { Method, Signal };

template <Kind K, typename... Args> struct Member {
    static_assert(((TypeCode<Args> != '\0') && ...), "an argument type without a D-Bus letter");
    static constexpr char signature[] = {TypeCode<Args>..., '\0'};
    const char* name;
};

inline constexpr Member<Kind::Method, qint32> Channel{"Channel"};
inline constexpr Member<Kind::Method, bool> SetMute{"SetMute"};
inline constexpr Member<Kind::Signal, qint32> ChannelChange{"ChannelChange"};
inline constexpr Member<Kind::Signal, qint32, qint32> CurrentTime{"CurrentTime"};
inline constexpr Member<Kind::Signal, qint32, QString, QString, QString, QString> ChannelData{"ChannelData"};
inline constexpr Member<Kind::Signal, qint32, QString, QString, QString, QString> CurrentChannelData{
    "CurrentChannelData"};
inline constexpr Member<Kind::Signal, double, double, double> SignalStrength{"SignalStrength"};
inline constexpr Member<Kind::Signal, bool> MuteChanged{"MuteChanged"};
inline constexpr Member<Kind::Method> Pause{"Pause"};
inline constexpr Member<Kind::Method> Resume{"Resume"};
inline constexpr Member<Kind::Method> Live{"Live"};
inline constexpr Member<Kind::Method> NextSong{"NextSong"};
inline constexpr Member<Kind::Method> PreviousSong{"PreviousSong"};
inline constexpr Member<Kind::Method, double> Seek{"Seek"};
// Answered calls the window never makes (xmctl's): listed so that the build compares them too.
inline constexpr Member<Kind::Method> SaveSong{"SaveSong"};
inline constexpr Member<Kind::Method> TimeShift{"TimeShift"};
inline constexpr Member<Kind::Signal, bool, double, double, double> TimeShiftChanged{"TimeShiftChanged"};
inline constexpr Member<Kind::Signal, qint32, QString, QString, QString, QString, qint32> SongHeard{"SongHeard"};

// A member without its types: what the client subscribes to and what the build compares.
struct Entry {
    Kind kind;
    const char* name;
    const char* signature;
    const char* answer; // a method's answer, in D-Bus letters; the client reads none
};

template <Kind K, typename... Args> constexpr Entry entry(const Member<K, Args...>& member, const char* answer = "")
{
    return {K, member.name, Member<K, Args...>::signature, answer};
}

// Every member above; the client listens to the signals among them.
inline constexpr std::array Members = {entry(Channel),        entry(SetMute),       entry(ChannelChange),
                                       entry(CurrentTime),    entry(ChannelData),   entry(CurrentChannelData),
                                       entry(SignalStrength), entry(MuteChanged),   entry(Pause),
                                       entry(Resume),         entry(Live),          entry(NextSong),
                                       entry(PreviousSong),   entry(Seek),          entry(TimeShiftChanged),
                                       entry(SongHeard),      entry(SaveSong, "s"), entry(TimeShift, "bbddd")};

} // namespace xmradio::client
