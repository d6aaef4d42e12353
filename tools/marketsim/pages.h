// Page builders of the simulated sites. Every page and every text argument
// is GBK; whatever comes from a request is escaped before it is written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "net/markup_text.h"
#include "tools/marketsim/catalogue.h"

namespace velmora::marketsim {

// The account the login form offers; any other pair is refused.
inline constexpr char kDemoAccount[] = "velmora_demo";
inline constexpr char kDemoPassword[] = "demo2024";

// Affiliate member centre. `error` is an already-GBK message or empty.
std::string LoginPage(std::string_view error);
std::string MemberPage();

// Affiliate promotion search: the result list, or the hint to log in first.
std::string PromotionPage(std::string_view keyword, SortKey key,
                          const std::vector<CatalogueItem>& items);
std::string PromotionLoginPage();

// Marketplace: search results, a plain item page and the item pictures.
std::string PictureUrl(std::string_view id);
std::string ItemUrl(std::string_view id);
std::string MarketplacePage(std::string_view query, const std::vector<CatalogueItem>& items);
std::string ItemPage(std::string_view id);
std::string PictureSvg(std::string_view id);

// The maker's instructions page.
std::string InstructionsPage();

// The opening every page of the sites shares, up to and with its <body> tag.
std::string PageStart(std::string_view title, std::string_view style);

// For an address no site knows.
std::string NotFoundPage(std::string_view host, std::string_view path);

}  // namespace velmora::marketsim
