#include "shell/ReplyBody.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <zlib.h>

namespace quorin::shell {
namespace {

constexpr std::size_t kMegabyte = 1024 * 1024;

std::string sizeText(std::size_t bytes)
{
    return bytes % kMegabyte == 0 ? std::to_string(bytes / kMegabyte) + " MB"
                                  : std::to_string(bytes) + " bytes";
}

std::string normalised(std::string_view encoding)
{
    while (!encoding.empty() && std::isspace(static_cast<unsigned char>(encoding.front()))) {
        encoding.remove_prefix(1);
    }
    while (!encoding.empty() && std::isspace(static_cast<unsigned char>(encoding.back()))) {
        encoding.remove_suffix(1);
    }
    std::string lower(encoding);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

} // namespace

struct ReplyBody::Inflater
{
    z_stream stream{};
    /// The last member reached its end; more input opens another (gzip
    /// allows several members one after the other).
    bool ended = false;
    bool started = false;

    explicit Inflater(int windowBits) { m_open = inflateInit2(&stream, windowBits) == Z_OK; }
    ~Inflater()
    {
        if (m_open) {
            inflateEnd(&stream);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool Open() const { return m_open; }

private:
    bool m_open = false;
};

ReplyBody::ReplyBody(std::string_view contentEncoding, std::size_t ceiling)
    : m_ceiling(ceiling), m_encoding(normalised(contentEncoding))
{
    if (m_encoding.empty() || m_encoding == "identity") {
        return;
    }
    // 16 + 15: gzip framing; 32 + 15: zlib or gzip framing, as servers differ
    // in what they send for "deflate".
    if (m_encoding == "gzip" || m_encoding == "x-gzip") {
        m_inflater = std::make_unique<Inflater>(16 + MAX_WBITS);
    } else if (m_encoding == "deflate") {
        m_inflater = std::make_unique<Inflater>(32 + MAX_WBITS);
    } else {
        refuse("the reply is encoded as \"" + m_encoding + "\", which the program does not read");
        return;
    }
    if (!m_inflater->Open()) {
        refuse("there is not enough memory to unpack the reply");
    }
}

ReplyBody::~ReplyBody() = default;

bool ReplyBody::refuse(std::string problem)
{
    if (m_problem.empty()) {
        m_problem = std::move(problem);
    }
    return false;
}

bool ReplyBody::keep(std::string_view bytes)
{
    if (bytes.size() > m_ceiling - m_text.size()) {
        return refuse(m_inflater ? "the reply unpacks to more than " + sizeText(m_ceiling)
                                 : "the reply is larger than " + sizeText(m_ceiling));
    }
    m_text.append(bytes);
    return true;
}

bool ReplyBody::Append(std::string_view sent)
{
    if (Refused()) {
        return false;
    }
    if (!m_inflater) {
        return keep(sent);
    }
    z_stream& z = m_inflater->stream;
    std::array<char, 64 * 1024> out;
    while (!sent.empty()) {
        // zlib counts in uInt; a piece at a time keeps any size in range.
        const std::size_t piece = std::min<std::size_t>(sent.size(), kMegabyte);
        // zlib's interface is not const-correct; it does not write the input.
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(sent.data()));
        z.avail_in = static_cast<uInt>(piece);
        sent.remove_prefix(piece);
        m_inflater->started = true;
        for (;;) {
            if (m_inflater->ended) {
                if (z.avail_in == 0) {
                    break;
                }
                inflateReset(&z);
                m_inflater->ended = false;
            }
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = static_cast<uInt>(out.size());
            const int status = inflate(&z, Z_NO_FLUSH);
            const std::size_t produced = out.size() - z.avail_out;
            if (produced > 0 && !keep(std::string_view(out.data(), produced))) {
                return false;
            }
            if (status == Z_STREAM_END) {
                m_inflater->ended = true;
                continue;
            }
            if (status == Z_BUF_ERROR) {
                break; // nothing more to do before more input comes
            }
            if (status != Z_OK) {
                return refuse(std::string("the reply's compressed data are corrupt") +
                              (z.msg != nullptr ? std::string(" (") + z.msg + ")" : ""));
            }
            if (z.avail_in == 0 && z.avail_out != 0) {
                break;
            }
        }
    }
    return true;
}

bool ReplyBody::Finish()
{
    if (Refused()) {
        return false;
    }
    if (m_inflater && m_inflater->started && !m_inflater->ended) {
        return refuse("the reply's compressed data break off before their end");
    }
    return true;
}

} // namespace quorin::shell
