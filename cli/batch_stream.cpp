#include "batch_stream.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch_line.h"

namespace karbelon::cli {

namespace {

constexpr std::size_t outputBlockBytes = std::size_t{64} * 1024;
constexpr std::size_t inputBlockBytes = std::size_t{64} * 1024;

bool writeOut(std::ostream& out, std::string& pending, bool flush) {
    out.write(pending.data(), static_cast<std::streamsize>(pending.size()));
    pending.clear();
    if (flush) {
        out.flush();
    }
    return static_cast<bool>(out);
}

// Input in blocks, with padding behind the last byte so that every line can be
// read in place. Lines are handed out as views into the block; a line longer
// than the block makes it grow.
class LineBlocks {
  public:
    explicit LineBlocks(std::istream& in) : in_(in), bytes_(inputBlockBytes + batchLinePadding) {}

    // The next line without its "\n", or false at the end of the input. The
    // line stays valid until the next call.
    bool next(PaddedLine& line) {
        for (;;) {
            const void* const lineBreak =
                std::memchr(bytes_.data() + searchFrom_, '\n', filled_ - searchFrom_);
            if (lineBreak != nullptr) {
                const auto end =
                    static_cast<std::size_t>(static_cast<const char*>(lineBreak) - bytes_.data());
                line = lineAt(end);
                start_ = searchFrom_ = end + 1;
                return true;
            }
            searchFrom_ = filled_;
            if (!readMore()) {
                if (start_ == filled_) {
                    return false;
                }
                line = lineAt(filled_);  // the last line has no line break
                start_ = searchFrom_ = filled_;
                return true;
            }
        }
    }

  private:
    [[nodiscard]] PaddedLine lineAt(std::size_t end) const {
        return {std::string_view(bytes_.data() + start_, end - start_), bytes_.size() - start_};
    }

    [[nodiscard]] std::size_t capacity() const { return bytes_.size() - batchLinePadding; }

    // Keeps the unfinished line, moved to the front, and appends what the
    // stream has ready (waiting for at least one byte); false at its end.
    bool readMore() {
        if (start_ > 0) {
            std::memmove(bytes_.data(), bytes_.data() + start_, filled_ - start_);
            filled_ -= start_;
            searchFrom_ -= start_;
            start_ = 0;
        }
        if (filled_ == capacity()) {
            bytes_.resize(2 * capacity() + batchLinePadding);
        }
        // peek waits for input the way a person types it; readsome then takes
        // what has arrived without waiting for a whole block.
        if (in_.peek() == std::istream::traits_type::eof()) {
            return false;
        }
        const std::streamsize got = in_.readsome(
            bytes_.data() + filled_, static_cast<std::streamsize>(capacity() - filled_));
        filled_ += static_cast<std::size_t>(got);
        return got > 0;
    }

    std::istream& in_;
    std::vector<char> bytes_;
    std::size_t start_ = 0;       // first byte of the current line
    std::size_t searchFrom_ = 0;  // bytes before this hold no line break
    std::size_t filled_ = 0;
};

}  // namespace

BatchSummary runBatch(std::istream& in, std::ostream& out, bool flushEachLine,
                      const NumberConventions& conventions) {
    BatchSummary summary;
    BatchRequestReader reader;
    LineBlocks lines(in);
    std::string pending;
    pending.reserve(outputBlockBytes + 1024);
    PaddedLine line{};
    while (lines.next(line)) {
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.remove_suffix(1);
        }
        ++summary.lines;
        if (!appendBatchAnswer(pending, reader, line, conventions)) {
            ++summary.invalidLines;
        }
        pending += '\n';
        if (flushEachLine || pending.size() >= outputBlockBytes) {
            if (!writeOut(out, pending, flushEachLine)) {
                summary.writeFailed = true;
                return summary;  // nowhere left to put the answers
            }
        }
    }
    summary.readFailed = in.bad();
    summary.writeFailed = !writeOut(out, pending, true);
    return summary;
}

}  // namespace karbelon::cli
