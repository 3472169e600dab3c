#include "hostparts/defaults/SmallComponents.h"

#include "platform/error/Clock.h"
#include "platform/error/ErrorRecord.h"
#include "platform/module/Module.h"
#include "platform/module/UserFiles.h"

#include <array>
#include <fstream>
#include <iostream>

namespace zel {
namespace {

constexpr std::string_view kEncodedPrefix = "ZEL1:";
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

} // namespace

std::filesystem::path LogComponent::filePath()
{
    return UserFiles::stateFile(Module::baseName() + ".Reports.Log");
}

void LogComponent::Report(int32_t, std::string_view description, std::string_view title, std::string_view source,
                          const ErrorRecord& error, int32_t flag, std::string_view contextText, double, int32_t,
                          int32_t, std::string_view extra, int32_t)
{
    // Every report arrives twice; the second call (flag 1) only confirms the first.
    if (flag != 0)
        return;
    std::string entry;
    entry.append(Clock::generalDateNow()).append("  ").append(title).append("\r\n");
    entry.append("\tNumber     : ").append(std::to_string(error.Number)).append("\r\n");
    entry.append("\tDescription: ").append(description).append("\r\n");
    entry.append("\tSource     : ").append(source).append("\r\n");
    entry.append("\tContext    : ").append(contextText).append("\r\n");
    if (!extra.empty())
        entry.append("\tExtra      : ").append(extra).append("\r\n");
    std::ofstream out(filePath(), std::ios::binary | std::ios::app);
    out << entry;
    out.flush();
    if (!out)
        std::cerr << "zelscript: cannot write " << filePath() << "; lost report:\n" << entry;
}

std::string DataEncode::Decrypt(std::string_view stored)
{
    if (!stored.starts_with(kEncodedPrefix))
        return std::string(stored);
    stored.remove_prefix(kEncodedPrefix.size());
    std::string clear;
    unsigned buffer = 0;
    int bits = 0;
    for (char c : stored) {
        if (c == '=')
            break;
        const int v = base64Value(c);
        if (v < 0)
            raise(ErrorNumber::InvalidArgument, "The stored value is not a valid encoded text");
        buffer = (buffer << 6) | static_cast<unsigned>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            clear.push_back(static_cast<char>((buffer >> bits) & 0xFF));
        }
    }
    return clear;
}

std::string DataEncode::Encode(std::string_view clear)
{
    std::string out(kEncodedPrefix);
    std::size_t i = 0;
    for (; i + 2 < clear.size(); i += 3) {
        const unsigned n = (static_cast<unsigned char>(clear[i]) << 16) |
                           (static_cast<unsigned char>(clear[i + 1]) << 8) | static_cast<unsigned char>(clear[i + 2]);
        out += {kAlphabet[(n >> 18) & 63], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63], kAlphabet[n & 63]};
    }
    if (i < clear.size()) {
        unsigned n = static_cast<unsigned char>(clear[i]) << 16;
        if (i + 1 < clear.size())
            n |= static_cast<unsigned char>(clear[i + 1]) << 8;
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += i + 1 < clear.size() ? kAlphabet[(n >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

} // namespace zel
