#include "packedproductcode.h"

#include <array>

namespace {

// Input positions in the braced form, in output order.
constexpr std::array<int, 32> packedOrder { 8,  7,  6,  5,  4,  3,  2,  1,  13, 12, 11,
                                            10, 18, 17, 16, 15, 21, 20, 23, 22, 26, 25,
                                            28, 27, 30, 29, 32, 31, 34, 33, 36, 35 };

} // namespace

QString PackedProductCode::fromProductCode(const QString &productCode)
{
    QString packed;
    packed.reserve(int(packedOrder.size()));
    for (const int position : packedOrder) {
        if (position < productCode.size())
            packed.append(productCode.at(position));
    }
    return packed;
}
