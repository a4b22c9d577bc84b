// The settings table (framework/zouSettings.h) as the tests read it, so that
// no start value or code is typed twice: whether each setting holds the value
// its row gives, a value unlike it, and the codes with the settings behind them.
#pragma once

#include "framework/zouSettings.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace fwtest {

// Whether a setting holds a value: every element of an array, text by content.
template <class T, class V>
bool holds(const T& setting, const V& value) {
    return setting == value;
}
template <std::size_t N>
bool holds(const char (&text)[N], const char* value) {
    return std::strcmp(text, value) == 0;
}
template <class T, std::size_t N, class V>
bool holds(const T (&setting)[N], const V& value) {
    for (const T& element : setting)
        if (!holds(element, value)) return false;
    return true;
}
// A new block is there and as long as its row says (ASan checks the last byte).
inline bool holds(char* const& block, zouNewBlock size) {
    if (!block) return false;
    block[size.bytes - 1] = 'x';
    return true;
}

// The value a setting holds after the start-up: its row's start value, or its
// value at load where the start-up leaves it alone.
template <class L, class V>
std::decay_t<const V&> afterStart(const L&, const V& start) {
    return start;
}
template <class L>
std::decay_t<const L&> afterStart(const L& load, zouUnchanged) {
    return load;
}
template <class L, class V>
V afterStart(const L&, zouByTextInit<V> start) {
    return start.value;
}

// A value unlike the start value, for every setting the start-up sets.
// Pointers stay as they are: the framework owns and frees some of them.
template <class T, class V>
void scribble(T& setting, const V& start) {
    setting = static_cast<T>(start + 7);
}
inline void scribble(bool& setting, bool start) { setting = !start; }
template <class T, class V>
void scribble(T*&, const V&) {}
template <std::size_t N>
void scribble(char (&text)[N], const char*) {
    std::snprintf(text, N, "%s", "scribbled");
}
template <class T, std::size_t N, class V>
void scribble(T (&setting)[N], const V& start) {
    for (T& element : setting) scribble(element, start);
}
template <class T, class V>
void scribbleRow(T& setting, const V& start) {
    scribble(setting, start);
}
template <class T>
void scribbleRow(T&, zouUnchanged) {}
template <class T, class V>
void scribbleRow(T& setting, zouByTextInit<V> start) {
    scribble(setting, start.value);
}
inline void scribbleRow(char*&, zouNewBlock) {}

// Puts the settings the start-up leaves alone back to their values at load.
template <class T, class L, class V>
void backToLoad(T&, const L&, const V&) {}
template <class T, class L>
void backToLoad(T& setting, const L& load, zouUnchanged) {
    setting = load;
}

#define FWTEST_OFF_AT_LOAD(type, name, atLoad, afterStartUp, code, readable, writable) \
    if (!holds(name, atLoad)) off.push_back(#name);
#define FWTEST_OFF_AFTER_START(type, name, atLoad, afterStartUp, code, readable, writable) \
    if (!holds(name, afterStart(atLoad, afterStartUp))) off.push_back(#name);
#define FWTEST_SCRIBBLE(type, name, atLoad, afterStartUp, code, readable, writable) scribbleRow(name, afterStartUp);
#define FWTEST_BACK_TO_LOAD(type, name, atLoad, afterStartUp, code, readable, writable) \
    backToLoad(name, atLoad, afterStartUp);

// The settings that do not hold their value at load, or after start-up.
inline std::vector<std::string> settingsOffTheirLoadValue() {
    std::vector<std::string> off;
    ZOU_SETTINGS(FWTEST_OFF_AT_LOAD)
    return off;
}
inline std::vector<std::string> settingsOffTheirStartValue() {
    std::vector<std::string> off;
    ZOU_SETTINGS(FWTEST_OFF_AFTER_START)
    return off;
}
inline void scribbleOverEveryStartValue() { ZOU_SETTINGS(FWTEST_SCRIBBLE) }
inline void unchangedSettingsBackToLoad() { ZOU_SETTINGS(FWTEST_BACK_TO_LOAD) }

// A code of the store with the int settings behind it, in the order of its values.
struct Code {
    short code;
    bool readable, writable;
    std::vector<int*> settings;
};
inline int* intSlot(int& setting) { return &setting; }
template <class T>
int* intSlot(T&) {
    return nullptr;
}
template <class... Ints>
Code group(short code, bool readable, bool writable, Ints&... settings) {
    return {code, readable, writable, {&settings...}};
}

#define FWTEST_SINGLE(type, name, atLoad, afterStartUp, code, readable, writable) \
    if (code != 0) codes.push_back({code, readable, writable, {intSlot(name)}});
#define FWTEST_GROUP(code, readable, writable, ...) codes.push_back(group(code, readable, writable, __VA_ARGS__));

// Every code of the table, the single ones first.
inline std::vector<Code> knownCodes() {
    std::vector<Code> codes;
    ZOU_SETTINGS(FWTEST_SINGLE)
    ZOU_PARAM_GROUPS(FWTEST_GROUP)
    return codes;
}

#define FWTEST_INT(type, name, atLoad, afterStartUp, code, readable, writable) \
    if (int* slot = intSlot(name)) values.push_back(*slot);

// Every int setting's value, to see that a call touched nothing it should not.
inline std::vector<int> intSettings() {
    std::vector<int> values;
    ZOU_SETTINGS(FWTEST_INT)
    return values;
}

}  // namespace fwtest
