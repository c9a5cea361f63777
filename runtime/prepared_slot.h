#pragma once
// One value made ahead of its use, with what it was made from: the use that
// brings the very same source takes it, once; any other makes its own.
#include <optional>
#include <utility>

template <class Source, class Value>
class PreparedSlot {
public:
    void Put(Source source, Value value) {
        source_ = std::move(source);
        value_ = std::move(value);
    }
    void Clear() {
        value_.reset();
        source_ = Source();
    }
    std::optional<Value> Take(const Source& source) {
        if (!value_ || !(source_ == source)) return std::nullopt;
        std::optional<Value> taken = std::move(value_);
        Clear();
        return taken;
    }

private:
    Source source_{};
    std::optional<Value> value_;
};
