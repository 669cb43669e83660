// SPDX-License-Identifier: MIT
#include <tickwell/pages/property_pages.hpp>

namespace tickwell {
namespace {

constexpr std::string_view kPages[] = {"General", "Appearance", "Behaviour", "StandardColor",
                                       "StandardPicture"};

}  // namespace

std::span<const std::string_view> property_pages() {
    return kPages;
}

const PageInfo* find_page(std::string_view name) {
    for (const PageInfo* page : {&GeneralPage(), &BehaviourPage(), &AppearancePage()})
        if (page->name == name) return page;
    return nullptr;
}

}  // namespace tickwell
