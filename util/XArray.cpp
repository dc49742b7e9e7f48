#include "util/XArray.h"

#include "util/StyleLine.h"

const char* const kXArrayTooLarge = "CXArray:  Requested array length too large";
const char* const kXArrayNoMemory = "CXArray:  Couldn't get memory";

template class CXArray<CString>;
template class CXArray<int>;
template class CXArray<unsigned int>;
template class CXArray<unsigned long>;
template class CXArray<double>;

namespace {

// Grows the array by one, keeping its elements, and answers the new last element. Throws like
// SetSize, leaving the array as it was.
template <class T>
T& AppendSlot(CXArray<T>& array) {
    CXArray<T> old;
    old.Copy(array);
    array.Resize(old.GetSize() + 1);
    array.CopyElements(array.GetData(), old.GetData(), old.GetSize());
    return array.GetData()[old.GetSize()];
}

void SkipOneBlank(std::istream& in) {
    if (in.peek() == ' ')
        in.get();
}

template <class T>
std::istream& ReadNumber(std::istream& in, CXArray<T>& array) {
    T& slot = AppendSlot(array);
    SkipOneBlank(in);
    T value{};
    in >> value;
    slot = value;
    return in;
}

}  // namespace

std::istream& ReadArrayLine(std::istream& in, CXArray<CString>& array) {
    CString& slot = AppendSlot(array);
    SkipOneBlank(in);
    CString value;
    ReadStyleLine(in, value);
    slot = value;
    return in;
}

std::istream& ReadArrayNumber(std::istream& in, CXArray<int>& array) { return ReadNumber(in, array); }

std::istream& ReadArrayUnsigned(std::istream& in, CXArray<unsigned int>& array) {
    return ReadNumber(in, array);
}

std::istream& ReadArrayUnsignedLong(std::istream& in, CXArray<unsigned long>& array) {
    return ReadNumber(in, array);
}

std::istream& ReadArrayDouble(std::istream& in, CXArray<double>& array) {
    return ReadNumber(in, array);
}
