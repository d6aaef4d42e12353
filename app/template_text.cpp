#include "app/template_text.h"

#include <optional>
#include <string>
#include <string_view>

#include "app/text_between.h"
#include "commands/text_commands.h"
#include "runtime/constants.h"
#include "runtime/gbk.h"
#include "runtime/native_path.h"
#include "runtime/windows_path.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kLoopStart[] = "[#商品循环开始#]";
VELMORA_CONSTANT const char kLoopEnd[] = "[#商品循环结束#]";

VELMORA_CONSTANT const char kKeywordPlaceholder[] = "[#关键词#]";
VELMORA_CONSTANT const char kPicturePlaceholder[] = "[#商品图片地址#]";
VELMORA_CONSTANT const char kLinkPlaceholder[] = "[#商品网址#]";
VELMORA_CONSTANT const char kTitlePlaceholder[] = "[#商品标题#]";
VELMORA_CONSTANT const char kSalesPlaceholder[] = "[#商品销售量#]";
VELMORA_CONSTANT const char kSellerPlaceholder[] = "[#卖家昵称#]";
VELMORA_CONSTANT const char kPricePlaceholder[] = "[#商品价格#]";
VELMORA_CONSTANT const char kRankPlaceholder[] = "[#商品排名#]";
VELMORA_CONSTANT const char kCouponPlaceholder[] = "[#优惠券面额#]";
VELMORA_CONSTANT const char kPriceAfterCouponPlaceholder[] = "[#券后价#]";
VELMORA_CONSTANT const char kFinalPricePlaceholder[] = "[#到手价#]";

VELMORA_CONSTANT const char kTemplateFolderForReading[] = "/单页生成/模板/";
VELMORA_CONSTANT const char kTemplateFileForReading[] = "/模板文件.htm";
VELMORA_CONSTANT const char kPreviewFileForReading[] = "/效果预览.htm";
VELMORA_CONSTANT const char kTemplateFileName[] = "\\模板文件.htm";
VELMORA_CONSTANT const char kTemplateFolder[] = "\\单页生成\\模板\\";
VELMORA_CONSTANT const char kPageSuffix[] = ".htm";

VELMORA_CONSTANT const char kBackslash[] = "\\";
VELMORA_CONSTANT const char kSlash[] = "/";

Text ReplaceAll(const char* text, const char* sought, const char* replacement) {
    return TakeText(
        CallCore(commands::ReplaceText, {TextArg(text), TextArg(sought), TextArg(replacement),
                                         Omitted(), Omitted(), MakeLogical(true)}));
}

bool Holds(const char* text, const char* sought) {
    return CallCore(commands::FindText,
                    {TextArg(text), TextArg(sought), MakeInteger(1), MakeLogical(false)})
               .Int() > 0;
}

}  // namespace

TemplateParts SplitTemplate(const char* templateText) {
    TemplateParts parts;
    parts.head = TextBetween(templateText, kEmptyText, kLoopStart, 0);
    parts.loop = TextBetween(templateText, kLoopStart, kLoopEnd, 0);
    parts.tail = RemainderAfter(templateText, kLoopEnd, 0);
    return parts;
}

TemplateEncoding TemplateEncodingOf(std::string_view bytes) {
    const auto holdsEither = [bytes](std::string_view start, std::string_view end) {
        return bytes.find(start) != bytes.npos || bytes.find(end) != bytes.npos;
    };
    if (holdsEither(kLoopStart, kLoopEnd)) return TemplateEncoding::kGbk;
    static const std::string utf8Start = GbkToUtf8(kLoopStart).value_or(kLoopStart);
    static const std::string utf8End = GbkToUtf8(kLoopEnd).value_or(kLoopEnd);
    if (holdsEither(utf8Start, utf8End) && Utf8ToUtf16(bytes)) return TemplateEncoding::kUtf8;
    return TemplateEncoding::kNoMarkers;
}

Text JoinTemplate(const char* head, const char* loop, const char* tail) {
    return Concat({head, kLoopStart, loop, kLoopEnd, tail});
}

Text RenderItem(const char* loop, const char* keyword, const ItemRecord& item) {
    Text rank = TakeText(CallCore(commands::ToText, {MakeInteger(item.rank)}));
    const struct {
        const char* placeholder;
        const char* value;
    } steps[] = {
        {kKeywordPlaceholder, keyword},
        {kPicturePlaceholder, item.pictureUrl.c_str()},
        {kLinkPlaceholder, item.itemUrl.c_str()},
        {kTitlePlaceholder, item.title.c_str()},
        {kSalesPlaceholder, item.sales.c_str()},
        {kSellerPlaceholder, item.seller.c_str()},
        {kPricePlaceholder, item.price.c_str()},
        {kRankPlaceholder, rank.c_str()},
        {kCouponPlaceholder, item.couponAmount.c_str()},
        {kPriceAfterCouponPlaceholder, item.priceAfterCoupon.c_str()},
        {kFinalPricePlaceholder, item.finalPrice.c_str()},
    };
    Text rendered = ReplaceAll(loop, steps[0].placeholder, steps[0].value);
    for (size_t i = 1; i < sizeof steps / sizeof steps[0]; ++i)
        rendered = ReplaceAll(rendered.c_str(), steps[i].placeholder, steps[i].value);
    return rendered;
}

Text FillKeyword(const char* text, const char* keyword) {
    return ReplaceAll(text, kKeywordPlaceholder, keyword);
}

// Dots elsewhere are ordinary characters: only "." and ".." name another folder.
bool HoldsNoSeparator(const char* name) {
    return !Holds(name, kBackslash) && !Holds(name, kSlash);
}

bool IsPlainName(const char* name) {
    std::string_view whole(name ? name : "");  // null is the empty text
    return HoldsNoSeparator(name) && whole != "." && whole != "..";
}

Text TemplateFileAddress(const char* programDirectory, const char* templateName,
                         TemplateFile file) {
    const char* fileName =
        file == TemplateFile::kPreview ? kPreviewFileForReading : kTemplateFileForReading;
    return Concat({programDirectory, kTemplateFolderForReading, templateName, fileName});
}

Text TemplateFolderPath(const char* programDirectory, const char* templateName) {
    return Concat({programDirectory, kTemplateFolder, templateName});
}

Text TemplateFilePath(const char* programDirectory, const char* templateName) {
    return Concat({programDirectory, kTemplateFolder, templateName, kTemplateFileName});
}

Text PageFilePath(const char* programDirectory, const char* templateName, const char* keyword) {
    return PageFileIn(TemplateFolderPath(programDirectory, templateName).c_str(), keyword);
}

Text PageFileIn(const char* folder, const char* keyword) {
    return Concat({folder, kBackslash, keyword, kPageSuffix});
}

bool TemplateFolderStaysInside(const char* programDirectory, const char* templateName) {
    if (!IsPlainName(templateName)) return false;
    std::optional<std::string> folder =
        NativePath(TemplateFolderPath(programDirectory, templateName).view());
    return folder && FolderStaysInRoot(FileSystemPath(*folder));
}

FileAccess TemplateFileAccess(const char* programDirectory, const char* templateName,
                              TemplateFile file) {
    if (!TemplateFolderStaysInside(programDirectory, templateName)) return FileAccess::kRefused;
    std::optional<std::string> path =
        NativePath(TemplateFileAddress(programDirectory, templateName, file).view());
    return path ? FileAccessOf(FileSystemPath(*path)) : FileAccess::kRefused;
}

}  // namespace velmora::app
