#pragma once
// Plain, slow versions of the armour recogniser and repair, written the way the rules read:
// substring searches over a line feed plus the text, and a replacement loop that searches again
// from the start after every change. The fast versions must agree with them on every input.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "base/armour.h"

namespace v5::testing {

inline TPGPContent ReferenceClassifyPGPText(std::string_view text) {
    const std::string s = "\n" + std::string(text);
    auto both = [&](const char* begin, const char* end) {
        return s.find(begin) != std::string::npos && s.find(end) != std::string::npos;
    };
    TPGPContent c;
    c.AnyBlock = both("\n-----BEGIN PGP", "\n-----END PGP");
    c.PublicKey = both("\n-----BEGIN PGP PUBLIC KEY", "\n-----END PGP PUBLIC KEY");
    c.Signed = both("\n-----BEGIN PGP SIGN", "\n-----END PGP SIGN");
    c.Message = both("\n-----BEGIN PGP MESSAGE", "\n-----END PGP MESSAGE");
    return c;
}

inline std::string ReferenceUnwrapPGPText(std::string_view text) {
    std::string s(text);
    if (s.rfind(" -----BEGIN PGP ", 0) == 0) s.erase(0, 1);
    const std::string_view pairs[2][2] = {{"\n -----BEGIN PGP ", "\n-----BEGIN PGP "},
                                          {"\n -----END PGP ", "\n-----END PGP "}};
    for (const auto& pair : pairs)
        for (std::size_t at; (at = s.find(pair[0])) != std::string::npos;) s.replace(at, pair[0].size(), pair[1]);
    return s;
}

// Texts made of pieces of armour lines, line ends, blanks and quote characters, so that markers,
// near-markers and indented markers meet in every arrangement.
class ArmourTextGenerator {
public:
    explicit ArmourTextGenerator(std::uint32_t seed) : random_(seed) {}

    std::string next(std::size_t maxPieces = 24) {
        static constexpr std::string_view kPieces[] = {
            "\n", "\r\n", " ", "  ", "-", "-----", "BEGIN PGP", "END PGP", "BEGIN PGP ", "END PGP ",
            " PUBLIC KEY", " SIGN", "ED MESSAGE", " MESSAGE", "PUBLIC KEY BLOCK-----", "x", "> ",
            "-----BEGIN PGP ", "-----END PGP ", " -----BEGIN PGP ", " -----END PGP ", "\n -----BEGIN PGP ",
            "\n -----END PGP ", "\n-----BEGIN PGP MESSAGE-----", "\n-----END PGP MESSAGE-----", "BEGIN PG",
            "\n \n -----BEGIN PGP ", "begin pgp ", "\n\n", "-----BEGIN PGP PUBLIC KEY BLOCK-----\n",
        };
        std::uniform_int_distribution<std::size_t> pieceCount(0, maxPieces);
        std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
        std::string text;
        for (std::size_t n = pieceCount(random_); n > 0; --n) text += kPieces[piece(random_)];
        return text;
    }

private:
    std::mt19937 random_;
};

}  // namespace v5::testing
