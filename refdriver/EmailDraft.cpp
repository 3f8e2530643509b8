#include "refdriver/EmailDraft.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace korventa::refdriver {
namespace {

constexpr std::string_view kCrlf = "\r\n";
constexpr std::size_t kBase64LineChars = 76;
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        unsigned value = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            value <<= 8;
            if (k < count)
                value |= static_cast<unsigned char>(bytes[i + k]);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= count ? kAlphabet[(value >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return out;
}

std::string base64Lines(std::string_view bytes) {
    const std::string encoded = base64(bytes);
    std::string out;
    for (std::size_t i = 0; i < encoded.size(); i += kBase64LineChars) {
        out += encoded.substr(i, kBase64LineChars);
        out += kCrlf;
    }
    return out;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string oneLine(std::string_view text) {
    std::string out(text);
    std::replace_if(out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

// RFC 2047 for text that is not plain ASCII.
std::string headerText(std::string_view text) {
    const std::string line = oneLine(text);
    return isAscii(line) ? line : "=?UTF-8?B?" + base64(line) + "?=";
}

// `key`="name" for a plain ASCII file name; otherwise also RFC 2231's key*=, with the quoted
// one an ASCII stand-in for old readers.
std::string fileNameParameters(std::string_view key, std::string_view name) {
    std::string plain;
    std::string encoded;
    for (const char c : oneLine(name)) {
        const auto byte = static_cast<unsigned char>(c);
        const bool safe = std::isalnum(byte) != 0 || std::string_view("-._ ").find(c) !=
                                                         std::string_view::npos;
        plain += byte < 0x80 && c != '"' && c != '\\' ? c : '_';
        if (safe && c != ' ') {
            encoded += c;
        } else {
            std::array<char, 4> hex{};
            std::snprintf(hex.data(), hex.size(), "%%%02X", byte);
            encoded += hex.data();
        }
    }
    std::string parameters = std::string(key) + "=\"" + plain + "\"";
    if (!isAscii(name))
        parameters += "; " + std::string(key) + "*=UTF-8''" + encoded;
    return parameters;
}

std::string rfc5322Date(std::time_t date) {
    static constexpr std::array<const char*, 7> kDays{"Sun", "Mon", "Tue", "Wed",
                                                      "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr",
                                                         "May", "Jun", "Jul", "Aug",
                                                         "Sep", "Oct", "Nov", "Dec"};
    std::tm utc{};
    gmtime_r(&date, &utc);
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%s, %02d %s %04d %02d:%02d:%02d +0000",
                  kDays[static_cast<std::size_t>(utc.tm_wday)], utc.tm_mday,
                  kMonths[static_cast<std::size_t>(utc.tm_mon)], utc.tm_year + 1900,
                  utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text.data();
}

std::string header(std::string_view name, std::string_view value) {
    return std::string(name) + ": " + std::string(value) + std::string(kCrlf);
}

}  // namespace

std::string emailDraft(const EmailFields& fields, std::string_view pdfFileName,
                       std::string_view pdf, std::time_t date, std::string_view boundary) {
    const std::string separator = "--" + std::string(boundary);
    std::string message;
    if (!fields.from.empty())
        message += header("From", headerText(fields.from));
    if (!fields.to.empty())
        message += header("To", headerText(fields.to));
    if (!fields.cc.empty())
        message += header("Cc", headerText(fields.cc));
    message += header("Subject", headerText(fields.subject));
    message += header("Date", rfc5322Date(date));
    message += header("X-Unsent", "1");
    message += header("MIME-Version", "1.0");
    message += header("Content-Type",
                      "multipart/mixed; boundary=\"" + std::string(boundary) + "\"");
    message += kCrlf;
    message += separator + std::string(kCrlf);
    message += header("Content-Type", "text/plain; charset=UTF-8");
    message += header("Content-Transfer-Encoding", "base64");
    message += kCrlf;
    message += base64Lines(fields.body);
    message += separator + std::string(kCrlf);
    message += header("Content-Type",
                      "application/pdf; " + fileNameParameters("name", pdfFileName));
    message += header("Content-Transfer-Encoding", "base64");
    message += header("Content-Disposition",
                      "attachment; " + fileNameParameters("filename", pdfFileName));
    message += kCrlf;
    message += base64Lines(pdf);
    message += separator + "--" + std::string(kCrlf);
    return message;
}

}  // namespace korventa::refdriver
