#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace quorin::shell {

/// The body of one HTTP reply, taken in as its bytes arrive and unpacked by
/// its Content-Encoding (none, "identity", "gzip", "x-gzip" or "deflate"), so
/// that a limit on its size holds for what it unpacks to and is checked
/// before anything past the limit is kept. A refused body keeps the reason.
class ReplyBody
{
public:
    /// contentEncoding as the reply's header gives it; ceiling in bytes of
    /// the unpacked body.
    ReplyBody(std::string_view contentEncoding, std::size_t ceiling);
    ~ReplyBody();
    ReplyBody(const ReplyBody&) = delete;
    ReplyBody& operator=(const ReplyBody&) = delete;

    /// Takes the next bytes as they came over the network. False once the
    /// body is refused (Problem() then says why); later bytes are ignored.
    bool Append(std::string_view sent);
    /// The reply ended: false when compressed data stopped before their end.
    bool Finish();

    bool Refused() const { return !m_problem.empty(); }
    /// Why the body was refused, as the second half of a sentence ("the
    /// reply is larger than 64 MB"); empty while it is not.
    const std::string& Problem() const { return m_problem; }
    /// The unpacked body so far.
    const std::string& Text() const { return m_text; }

private:
    struct Inflater;

    bool keep(std::string_view bytes);
    bool refuse(std::string problem);

    std::size_t m_ceiling;
    std::string m_encoding;
    std::string m_text;
    std::string m_problem;
    std::unique_ptr<Inflater> m_inflater;
};

} // namespace quorin::shell
