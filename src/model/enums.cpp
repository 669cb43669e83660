// SPDX-License-Identifier: MIT
#include <tickwell/model/enums.hpp>

namespace tickwell {
namespace {

#define TICKWELL_MEMBER_ROW(cpp_name, library_name, qt_name, value) \
    {#library_name, value, #qt_name},
#define TICKWELL_MEMBER_TABLE(Type, library_name, VALUES) \
    constexpr EnumMember k##Type##Members[] = {VALUES(TICKWELL_MEMBER_ROW)};
TICKWELL_ENUMS(TICKWELL_MEMBER_TABLE)
#undef TICKWELL_MEMBER_TABLE
#undef TICKWELL_MEMBER_ROW

#define TICKWELL_INFO_ROW(Type, library_name, VALUES) {#library_name, #Type, k##Type##Members},
constexpr EnumInfo kEnums[] = {TICKWELL_ENUMS(TICKWELL_INFO_ROW)};
#undef TICKWELL_INFO_ROW

// Indexed by Accuracy; the last row serves every value the enum does not name: its digits
// are as narrow as hundredths', but it shows no fraction and keeps the tick it had.
constexpr AccuracyTraits kAccuracy[] = {
    {250, 0, 7.4, true}, {45, 1, 8.1, true}, {8, 2, 8.8, true}, {0, 0, 8.8, false}};

}  // namespace

std::string_view EnumInfo::name_of(std::int32_t value) const {
    for (const EnumMember& m : members)
        if (m.value == value) return m.name;
    return {};
}

std::span<const EnumInfo> enum_infos() {
    return kEnums;
}

#define TICKWELL_INFO_OF(Type, library_name, VALUES) \
    template <>                                      \
    const EnumInfo& enum_info<Type>() {              \
        static_assert(sizeof(Type) == 2);            \
        for (const EnumInfo& e : kEnums)             \
            if (e.name == #library_name) return e;   \
        return kEnums[0];                            \
    }
TICKWELL_ENUMS(TICKWELL_INFO_OF)
#undef TICKWELL_INFO_OF

const AccuracyTraits& accuracy_traits(Accuracy accuracy) {
    const auto i = static_cast<std::size_t>(accuracy);
    return i < std::size(kAccuracy) - 1 ? kAccuracy[i] : kAccuracy[std::size(kAccuracy) - 1];
}

}  // namespace tickwell
