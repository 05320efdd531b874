#pragma once
// MARC 21 records in MARC-8 for the benchmark, as a Library of Congress catalogue holds them:
// mostly ASCII, names and titles in French, German and Czech with their diacritics (the mark
// byte before its letter), Russian books romanized with 880 fields in Cyrillic.

#include <memory>
#include <string>

namespace luma::bench {

class Marc8RecordMaker {
public:
    explicit Marc8RecordMaker(unsigned seed);
    ~Marc8RecordMaker();

    std::string Make(int number);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace luma::bench
