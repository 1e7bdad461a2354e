#pragma once
// One profile file and what the platform gives for each lookup in it, as measured with the real
// private profile functions. The fake is held to this table natively, and the fake and the real
// functions both to it under Wine.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace v5::fakes {

inline std::string LongProfileValue() {
    std::string value(1500, 'L');
    value[1021] = 'E';  // the last character that fits the buffer
    value[1022] = 'X';  // the first one cut off
    return value;
}

inline std::string ProfileCaseFileText() {
    return "[General]\r\n"
           "optProcessing=1\r\n"
           "hex=0x3\r\n"
           "capitalHex=0X1f\r\n"
           "spacedHex= 0x3 \r\n"
           "neg=-5\r\n"
           "spaced= 12 \r\n"
           "letters=abc\r\n"
           "digitsThenLetters=12abc\r\n"
           "empty=\r\n"
           "plus=+7\r\n"
           "hexOnly=0x\r\n"
           "hexBad=0xG\r\n"
           "negativeHex=-0x3\r\n"
           "tooBig=4294967295\r\n"
           "hexAllOnes=0xFFFFFFFF\r\n"
           "hexTooBig=0x100000000\r\n"
           "lowest=-2147483648\r\n"
           "leadingZero=010\r\n"
           "binary=0b11\r\n"
           "doubleQuoted=\"quoted\"\r\n"
           "quotedNumber=\"12\"\r\n"
           "singleQuoted='single'\r\n"
           "halfQuoted=\"half\r\n"
           "mixedQuotes=\"mixed'\r\n"
           "innerQuotes=a \"b\" c\r\n"
           "quotedBlanks=\" spaced \"\r\n"
           "  spacedKey  =  v  \r\n"
           "tabs=\tt\t\r\n"
           "equals=a=b\r\n"
           "semicolon=a;b\r\n"
           "dup=first\r\n"
           "dup=second\r\n"
           "noEquals\r\n"
           "long=" + LongProfileValue() + "\r\n"
           "[ Spaced Section ]\r\n"
           "k=in spaced section\r\n"
           "[general]\r\n"
           "later=x\r\n";
}

struct ProfileCase {
    const char* what;
    const char* section;
    const char* key;
    const char* defaultText;
    std::string text;     // readString with defaultText
    std::int32_t number;  // readInt with the default 77
};

inline std::vector<ProfileCase> ProfileCases() {
    return {
        {"key in other letter case", "General", "OPTPROCESSING", "d", "1", 1},
        {"section in other letter case", "GENERAL", "optProcessing", "d", "1", 1},
        {"hexadecimal", "General", "hex", "d", "0x3", 3},
        {"hexadecimal with capital X", "General", "capitalHex", "d", "0X1f", 31},
        {"blanks around a hexadecimal value", "General", "spacedHex", "d", "0x3", 3},
        {"negative number", "General", "neg", "d", "-5", -5},
        {"blanks around a value", "General", "spaced", "d", "12", 12},
        {"letters", "General", "letters", "d", "abc", 77},
        {"digits then letters", "General", "digitsThenLetters", "d", "12abc", 77},
        {"empty value is not the default text", "General", "empty", "d", "", 77},
        {"plus sign", "General", "plus", "d", "+7", 7},
        {"0x alone", "General", "hexOnly", "d", "0x", 77},
        {"0x and no hexadecimal digit", "General", "hexBad", "d", "0xG", 77},
        {"minus before 0x", "General", "negativeHex", "d", "-0x3", 77},
        {"decimal beyond 32 bits", "General", "tooBig", "d", "4294967295", 77},
        {"hexadecimal of 32 bits", "General", "hexAllOnes", "d", "0xFFFFFFFF", -1},
        {"hexadecimal beyond 32 bits", "General", "hexTooBig", "d", "0x100000000", 77},
        {"lowest whole number", "General", "lowest", "d", "-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"leading zero is decimal", "General", "leadingZero", "d", "010", 10},
        {"binary prefix is not a number", "General", "binary", "d", "0b11", 77},
        {"double quotes dropped", "General", "doubleQuoted", "d", "quoted", 77},
        {"quoted number", "General", "quotedNumber", "d", "12", 12},
        {"single quotes dropped", "General", "singleQuoted", "d", "single", 77},
        {"one quote kept", "General", "halfQuoted", "d", "\"half", 77},
        {"unmatched quotes kept", "General", "mixedQuotes", "d", "\"mixed'", 77},
        {"inner quotes kept", "General", "innerQuotes", "d", "a \"b\" c", 77},
        {"blanks inside quotes kept", "General", "quotedBlanks", "d", " spaced ", 77},
        {"blanks around a key name", "General", "spacedKey", "d", "v", 77},
        {"blanks around the asked key name", "General", "  hex  ", "d", "0x3", 3},
        {"tabs around a value", "General", "tabs", "d", "t", 77},
        {"equals sign inside a value", "General", "equals", "d", "a=b", 77},
        {"semicolon inside a value", "General", "semicolon", "d", "a;b", 77},
        {"first of two equal keys", "General", "dup", "d", "first", 77},
        {"line without equals sign", "General", "noEquals", "dflt", "dflt", 77},
        {"value cut to the buffer", "General", "long", "d", LongProfileValue().substr(0, 1023), 77},
        {"blanks around a section name", "Spaced Section", "k", "d", "in spaced section", 77},
        {"only the first of two equal sections", "General", "later", "dflt", "dflt", 77},
        {"missing key", "General", "missing", "dflt", "dflt", 77},
        {"missing section", "Nowhere", "k", "dflt", "dflt", 77},
        {"default loses its trailing blanks", "Nowhere", "k", "  dflt  ", "  dflt", 77},
    };
}

}  // namespace v5::fakes
