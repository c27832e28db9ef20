#include "exchange/master_image.h"

#include <algorithm>

#include "data/master_file.h"

namespace reel::exchange {
namespace {

constexpr std::size_t RecordSize = FilmRecord::Size;

std::size_t offsetOf(std::int32_t n) {
    return static_cast<std::size_t>(n - 1) * RecordSize;
}

// What reads as blank records from `from` up to `to`, as the file on disk
// fills a gap before a record written past its end.
void appendBlankFill(std::string& image, std::size_t to) {
    const std::string blank = FilmRecord().bytes();
    while (image.size() < to) image += blank[image.size() % RecordSize];
}

class Image {
  public:
    explicit Image(std::string bytes) : bytes_(std::move(bytes)) { recount(); }

    // Free slots only ever fill up, so the search goes on from the last one.
    std::int32_t freeSlot() {
        const std::size_t titleWidth = static_cast<std::size_t>(fieldSpec(Field::Title).width);
        const std::string blankTitle(titleWidth, ' ');
        for (; cursor_ <= count_; ++cursor_) {
            std::string title =
                bytes_.substr(std::min(offsetOf(cursor_), bytes_.size()), titleWidth);
            title.resize(titleWidth, ' ');
            if (title == blankTitle) return cursor_;
        }
        return count_ + 1;
    }

    void write(std::int32_t n, const FilmRecord& film) {
        const std::size_t offset = offsetOf(n);
        appendBlankFill(bytes_, offset);
        bytes_.replace(offset, std::min(RecordSize, bytes_.size() - offset), film.bytes());
        recount();
    }

    std::string take() { return std::move(bytes_); }

  private:
    void recount() { count_ = recordCountForLength(static_cast<std::int64_t>(bytes_.size())); }

    std::string bytes_;
    std::int32_t count_ = 0;
    std::int32_t cursor_ = 1;
};

}  // namespace

std::string withNewFilms(std::string image, const std::vector<FilmRecord>& films) {
    Image grown(std::move(image));
    for (const FilmRecord& film : films) grown.write(grown.freeSlot(), film);
    return grown.take();
}

}  // namespace reel::exchange
