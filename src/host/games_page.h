// The games web page that the settings dialog opens.
#pragma once

#include <array>
#include <cstddef>

// Joins zero-terminated literals at compile time into one terminated text.
template <std::size_t A, std::size_t B, std::size_t C>
consteval std::array<char, A + B + C - 2> JoinTexts(const char (&a)[A], const char (&b)[B], const char (&c)[C]) {
    std::array<char, A + B + C - 2> joined{};
    std::size_t at = 0;
    for (std::size_t i = 0; i + 1 < A; ++i) joined[at++] = a[i];
    for (std::size_t i = 0; i + 1 < B; ++i) joined[at++] = b[i];
    for (std::size_t i = 0; i < C; ++i) joined[at++] = c[i];
    return joined;
}

inline constexpr char GamesPageHost[] = "www.glimmerbox.net";
inline constexpr auto GamesPageUrlText =
    JoinTexts("http://", GamesPageHost, "?utm_campaign=Glimmerbox&utm_source=appOptions");
inline constexpr const char* GamesPageUrl = GamesPageUrlText.data();
