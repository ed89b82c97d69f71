#include <deque>
#include <memory>

#include "data/cursor.h"
#include "data/errors.h"

namespace vn::data {

namespace {

// The rows of one run of a command, read on demand. It keeps the last kWindow rows, so that
// cursors reading side by side (a recordset and its clones) share one run; a cursor that
// falls further behind runs the command again for itself.
class Feed {
 public:
  static constexpr size_t kWindow = 256;

  explicit Feed(std::unique_ptr<RowSource> source) : source_(std::move(source)) {}

  const std::vector<Column>& Columns() const { return source_->Columns(); }
  bool Ended() const { return ended_; }
  size_t Fetched() const { return next_; }

  // Row `index`, or null when the result has fewer rows. `index` must not lie behind the
  // window (see Holds).
  std::shared_ptr<const Row> At(size_t index) {
    while (!ended_ && next_ <= index) {
      std::shared_ptr<Row> row = std::move(spare_);
      if (!row) row = std::make_shared<Row>();
      if (!source_->Fetch(*row)) {
        ended_ = true;
        source_.reset();  // releases the statement at once
        break;
      }
      window_.push_back(std::move(row));
      ++next_;
      if (window_.size() > kWindow) {
        // A row that left the window and that no cursor holds takes the next row: a long
        // result then reads into the same few rows instead of allocating one per row.
        if (window_.front().use_count() == 1) {
          spare_ = std::const_pointer_cast<Row>(std::move(window_.front()));
        }
        window_.pop_front();
        ++base_;
      }
    }
    if (index >= next_) return nullptr;
    return window_[index - base_];
  }

  bool Holds(size_t index) const { return index >= base_; }

 private:
  std::unique_ptr<RowSource> source_;
  std::deque<std::shared_ptr<const Row>> window_;
  std::shared_ptr<Row> spare_;  // made as a mutable Row, so filling it again is sound
  size_t base_ = 0;             // index of window_.front()
  size_t next_ = 0;             // index of the next row the source delivers
  bool ended_ = false;
};

class StreamingCursor : public Cursor {
 public:
  StreamingCursor(std::shared_ptr<Feed> feed, std::shared_ptr<CommandRunner> runner,
                  std::shared_ptr<const std::vector<Column>> columns)
      : feed_(std::move(feed)), runner_(std::move(runner)), columns_(std::move(columns)) {
    current_ = feed_->At(0);
    empty_ = current_ == nullptr;
  }

  const std::vector<Column>& Columns() const override { return *columns_; }
  bool Bof() const override { return empty_; }
  bool Eof() const override { return current_ == nullptr; }

  void MoveNext() override {
    if (Eof()) {
      throw RuntimeError(kErrNoCurrentRecord,
                         "Either BOF or EOF is True, or the current record has been deleted.",
                         "Recordset.MoveNext");
    }
    ++index_;
    if (!feed_->Holds(index_)) {
      // Sibling cursors have moved the shared run past this row: run the command again and
      // skip to where this cursor stands.
      auto feed = std::make_shared<Feed>(runner_->Run());
      current_ = feed->At(index_);
      feed_ = std::move(feed);
      // The window now starts near index_, so skipped rows are not held.
    } else {
      current_ = feed_->At(index_);
    }
    if (current_ == nullptr) {
      count_ = static_cast<long>(index_);
      feed_.reset();
    }
  }

  std::unique_ptr<Cursor> Clone() const override {
    std::shared_ptr<Feed> feed = feed_;
    if (!feed || !feed->Holds(0)) feed = std::make_shared<Feed>(runner_->Run());
    return std::make_unique<StreamingCursor>(feed, runner_, columns_);
  }

  long RecordCount() const override {
    if (empty_) return 0;
    if (count_ >= 0) return count_;
    if (feed_ && feed_->Ended()) return static_cast<long>(feed_->Fetched());
    return -1;
  }

  Variant Value(size_t column) const override {
    if (current_ == nullptr) {
      throw RuntimeError(kErrNoCurrentRecord,
                         "Either BOF or EOF is True, or the current record has been deleted.",
                         "Field.Value");
    }
    return (*current_)[column];
  }

  const Variant* ValueInPlace(size_t column) const override {
    return current_ != nullptr && column < current_->size() ? &(*current_)[column] : nullptr;
  }

 private:
  std::shared_ptr<Feed> feed_;
  std::shared_ptr<CommandRunner> runner_;
  std::shared_ptr<const std::vector<Column>> columns_;
  std::shared_ptr<const Row> current_;
  size_t index_ = 0;
  bool empty_ = false;
  long count_ = -1;
};

}  // namespace

std::unique_ptr<Cursor> MakeStreamingCursor(std::unique_ptr<RowSource> source,
                                            std::shared_ptr<CommandRunner> runner) {
  auto columns = std::make_shared<const std::vector<Column>>(source->Columns());
  auto feed = std::make_shared<Feed>(std::move(source));
  return std::make_unique<StreamingCursor>(std::move(feed), std::move(runner), std::move(columns));
}

}  // namespace vn::data
