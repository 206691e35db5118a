#pragma once
// A record table that grows with the records it holds, up to a fixed number
// of slots (record 0 included, never a record). Records live in chunks that
// never move, so a reference to one survives the adding of another; only
// the records made are built, so an empty table costs little.
#include <algorithm>
#include <compare>
#include <cstddef>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace lintora {

template <typename Rec, std::size_t Slots>
class RecordTable {
    static constexpr std::size_t kShift = 6;  // 64 records a chunk
    static constexpr std::size_t kChunk = std::size_t{1} << kShift;

    template <bool Const>
    class Iter {
        using Table = std::conditional_t<Const, const RecordTable, RecordTable>;

    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = Rec;
        using difference_type = std::ptrdiff_t;
        using pointer = std::conditional_t<Const, const Rec*, Rec*>;
        using reference = std::conditional_t<Const, const Rec&, Rec&>;

        Iter() = default;
        Iter(Table* t, difference_type i) : t_(t), i_(i) {}
        // A template, so never the copy constructor.
        template <bool C = Const>
            requires C
        Iter(const Iter<false>& o) : t_(o.t_), i_(o.i_) {}

        reference operator*() const { return t_->At(static_cast<std::size_t>(i_)); }
        pointer operator->() const { return &**this; }
        reference operator[](difference_type n) const { return *(*this + n); }
        Iter& operator++() { ++i_; return *this; }
        Iter& operator--() { --i_; return *this; }
        Iter operator++(int) { Iter old = *this; ++i_; return old; }
        Iter operator--(int) { Iter old = *this; --i_; return old; }
        Iter& operator+=(difference_type n) { i_ += n; return *this; }
        Iter& operator-=(difference_type n) { i_ -= n; return *this; }
        friend Iter operator+(Iter it, difference_type n) { return it += n; }
        friend Iter operator+(difference_type n, Iter it) { return it += n; }
        friend Iter operator-(Iter it, difference_type n) { return it -= n; }
        friend difference_type operator-(const Iter& a, const Iter& b) { return a.i_ - b.i_; }
        friend bool operator==(const Iter& a, const Iter& b) { return a.i_ == b.i_; }
        friend auto operator<=>(const Iter& a, const Iter& b) { return a.i_ <=> b.i_; }

    private:
        friend class Iter<!Const>;
        Table* t_ = nullptr;
        difference_type i_ = 0;
    };

public:
    using value_type = Rec;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = Rec&;
    using const_reference = const Rec&;
    using iterator = Iter<false>;
    using const_iterator = Iter<true>;

    // Record 0 alone.
    RecordTable() { resize(1); }
    explicit RecordTable(std::size_t n) { resize(n); }
    template <std::input_iterator It>
    RecordTable(It first, It last) { append(first, last); }
    RecordTable(const RecordTable& other) { append(other.begin(), other.end()); }
    RecordTable(RecordTable&& other) noexcept { swap(other); }
    RecordTable& operator=(const RecordTable& other) {
        if (this != &other) CopyCount(other, other.size());
        return *this;
    }
    RecordTable& operator=(RecordTable&& other) noexcept {
        RecordTable(std::move(other)).swap(*this);
        return *this;
    }
    ~RecordTable() { ShrinkTo(0); }

    std::size_t size() const { return size_; }
    // Records the chunks held give room for, built or not.
    std::size_t capacity() const { return chunks_.size() * kChunk; }
    bool empty() const { return size_ == 0; }
    iterator begin() { return {this, 0}; }
    iterator end() { return {this, static_cast<difference_type>(size_)}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, static_cast<difference_type>(size_)}; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    Rec& front() { return At(0); }
    const Rec& front() const { return At(0); }
    Rec& back() { return At(size_ - 1); }
    const Rec& back() const { return At(size_ - 1); }

    // A record past the end but within the slots is blank: the table grows
    // to it, so such a number reads and writes as in a table of all its
    // slots. A number past the slots throws std::out_of_range.
    Rec& operator[](std::size_t n) {
        if (n >= size_) GrowTo(n);
        return At(n);
    }
    const Rec& operator[](std::size_t n) const {
        if (n < size_) return At(n);
        if (n >= Slots) OutOfRange(n);
        static const Rec blank{};
        return blank;
    }

    template <typename... Args>
    Rec& emplace_back(Args&&... args) {
        if (size_ >= Slots) OutOfRange(size_);
        if (size_ == chunks_.size() * kChunk) AddChunk();
        Rec* at = &At(size_);
        std::construct_at(at, std::forward<Args>(args)...);
        ++size_;
        return *at;
    }
    void push_back(const Rec& rec) { emplace_back(rec); }
    void push_back(Rec&& rec) { emplace_back(std::move(rec)); }

    // Record n blank, built in place when it is the next one.
    Rec& Fresh(std::size_t n) {
        if (n == size_) return emplace_back();
        return (*this)[n] = Rec{};
    }

    void resize(std::size_t n) {
        if (n < size_) ShrinkTo(n);
        while (size_ < n) emplace_back();
    }
    void clear() { ShrinkTo(0); }
    template <std::input_iterator It>
    void assign(It first, It last) {
        clear();
        append(first, last);
    }

    // Records 0..last copied from another table (those it holds); nothing
    // of this one's past them is kept.
    void CopyFirst(const RecordTable& from, std::size_t last) {
        if (from.empty()) return clear();
        CopyCount(from, std::min(last, from.size() - 1) + 1);
    }

    // Back to a blank record 0 alone, the storage of the rest given back.
    void Empty() {
        ShrinkTo(0);
        emplace_back();
    }

    // All its records, as a vector.
    operator std::vector<Rec>() const { return std::vector<Rec>(begin(), end()); }

    void swap(RecordTable& other) noexcept {
        chunks_.swap(other.chunks_);
        std::swap(size_, other.size_);
    }
    // Takes the records of a table built as a vector (the vector gets this
    // table's).
    void swap(std::vector<Rec>& other) {
        RecordTable mine(std::make_move_iterator(other.begin()), std::make_move_iterator(other.end()));
        other.assign(std::make_move_iterator(begin()), std::make_move_iterator(end()));
        swap(mine);
    }

    friend bool operator==(const RecordTable& a, const RecordTable& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
    }

private:
    struct FreeChunk {
        void operator()(Rec* p) const { std::allocator<Rec>().deallocate(p, kChunk); }
    };

    Rec& At(std::size_t n) { return chunks_[n >> kShift].get()[n & (kChunk - 1)]; }
    const Rec& At(std::size_t n) const { return chunks_[n >> kShift].get()[n & (kChunk - 1)]; }

    // Room for kChunk more records, none of them built yet.
    void AddChunk() { chunks_.emplace_back(std::allocator<Rec>().allocate(kChunk)); }

    // This table as the first n records of from, its own storage reused.
    void CopyCount(const RecordTable& from, std::size_t n) {
        if (size_ > n) ShrinkTo(n);
        std::copy(from.begin(), from.begin() + static_cast<difference_type>(size_), begin());
        append(from.begin() + static_cast<difference_type>(size_), from.begin() + static_cast<difference_type>(n));
    }

    template <typename It>
    void append(It first, It last) {
        for (; first != last; ++first) emplace_back(*first);
    }

    void ShrinkTo(std::size_t n) {
        while (size_ > n) std::destroy_at(&At(--size_));
        chunks_.resize((n + kChunk - 1) >> kShift);
    }

    [[noreturn]] static void OutOfRange(std::size_t n) {
        throw std::out_of_range("record " + std::to_string(n) + " is past the table's " +
                                std::to_string(Slots - 1) + " records");
    }
    void GrowTo(std::size_t n) {
        if (n >= Slots) OutOfRange(n);
        resize(n + 1);
    }

    std::vector<std::unique_ptr<Rec, FreeChunk>> chunks_;
    std::size_t size_ = 0;
};

}  // namespace lintora
