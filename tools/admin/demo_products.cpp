#include <algorithm>

#include "admin/demo_context.h"

namespace velmora {

namespace {

constexpr int kLargeProducts = 50000;

// A price near the typical one: whole yen from 200 yen up (tens from 1,000,
// hundreds from 10,000), half yen below.
long long VaryPrice(DemoRandom& r, long long yen) {
    long long cents = yen * r.between(85, 125);
    long long step = yen >= 10000 ? 10000 : yen >= 1000 ? 1000 : yen >= 200 ? 100 : 50;
    return std::max(step, cents / step * step);
}

long long Share(long long cents, int percent, long long step) {
    return std::max(step, cents * percent / 100 / step * step);
}

}  // namespace

bool SeedProducts(DemoContext& ctx) {
    bool ok = ctx.write("M商品分類", [&](TableWriter& w) {
        for (const DemoCategory& category : ProductCategories())
            if (!w.insert(w.row()("コード", category.code)("名称", category.name)("略称", category.name)("使用状況区分", "1")))
                return false;
        return w.insert(w.row()("コード", "990")("名称", "旧分類")("略称", "旧分類")("使用状況区分", "2"));
    });
    if (!ok) return false;

    DemoRandom& r = ctx.random;
    const size_t categoryCount = ProductCategories().size();
    std::vector<int> sequence(categoryCount, 0);
    int made = 0;
    auto add = [&](TableWriter& w, size_t categoryIndex, const DemoItem& item, const std::string& nameB) {
        const DemoCategory& category = ProductCategories()[categoryIndex];
        const bool service = std::string(category.code) == "900";
        const bool delivery = std::string(item.name) == "配送料";
        ++made;
        std::string code = std::string(category.codePrefix) + "-" + Pad(++sequence[categoryIndex], 5);
        long long list = VaryPrice(r, item.listPrice);
        long long step = list >= 100000 ? 100 : 50;
        long long price = Share(list, r.between(80, 95), step);
        long long purchase = Share(list, r.between(55, 72), step);
        const char* kind = service ? (delivery ? "7" : "4") : std::string(category.code) == "120" ? "2" : made % 97 == 0 ? "9" : "0";
        const char* handling = made % 41 == 0 ? "3" : made % 23 == 0 ? "2" : "1";
        const DemoPartner& supplier = ctx.suppliers[(categoryIndex * 3 + static_cast<size_t>(made % 2)) % ctx.suppliers.size()];
        const DemoPartner& maker = ctx.makers[(categoryIndex + static_cast<size_t>(made % 3)) % ctx.makers.size()];
        if (!w.insert(w.row()("コード", code)("名称A", item.name)("名称B", nameB)("カナ", item.kana)("商品分類コード", category.code)(
                "品区分", kind)("在庫管理区分", service ? "0" : "1")("取扱状況区分", handling)("単位", item.unit)(
                "売上課税区分", "0")("売上消費税区分", made % 15 == 0 ? "1" : "0")("仕入課税区分", "0")("仕入消費税区分", "1")(
                "税抜販売定価", Cents(list))("税込販売定価", Cents(WithTax(list)))("税抜販売単価", Cents(price))(
                "税込販売単価", Cents(WithTax(price)))("税抜仕入単価", Cents(purchase))("税込仕入単価", Cents(WithTax(purchase)))(
                "仕入先コード", service ? "" : supplier.code)("メーカコード", service ? "" : maker.code)(
                "登録日付", "20200401 100000")))
            return false;
        ctx.products.push_back({code, item.name, nameB, item.unit, price, purchase, service ? "" : supplier.code, service});
        return true;
    };

    return ctx.write("M商品", [&](TableWriter& w) {
        for (size_t c = 0; c < categoryCount; ++c) {
            const DemoCategory& category = ProductCategories()[c];
            for (const DemoItem& item : category.items)
                for (const char* variant : category.variants)
                    if (!add(w, c, item, variant)) return false;
        }
        // Revenue stamps are not taxable; printed forms made for one customer
        // are listed only for that customer.
        ++made;
        if (!w.insert(w.row()("コード", "SV-90001")("名称A", "収入印紙")("名称B", "200円")("カナ", "ｼｭｳﾆｭｳｲﾝｼ")(
                "商品分類コード", "900")("品区分", "5")("在庫管理区分", "0")("取扱状況区分", "1")("単位", "枚")(
                "売上課税区分", "1")("売上消費税区分", "0")("仕入課税区分", "1")("仕入消費税区分", "1")("税抜販売定価", "200")(
                "税込販売定価", "200")("税抜販売単価", "200")("税込販売単価", "200")("税抜仕入単価", "200")(
                "税込仕入単価", "200")))
            return false;
        for (int i = 0; i < 3; ++i) {
            const DemoPartner& customer = ctx.customers[static_cast<size_t>(i)];
            long long price = 1850000 + 250000 * i;
            if (!w.insert(w.row()("コード", "PP-8" + Pad(i + 1, 4))("名称A", "専用連続伝票")("名称B", customer.name)(
                    "カナ", "ｾﾝﾖｳﾚﾝｿﾞｸﾃﾞﾝﾋﾟｮｳ")("商品分類コード", "030")("品区分", "1")("在庫管理区分", "1")(
                    "取扱状況区分", "1")("単位", "箱")("売上課税区分", "0")("売上消費税区分", "0")("仕入課税区分", "0")(
                    "仕入消費税区分", "1")("税抜販売定価", Cents(price))("税込販売定価", Cents(WithTax(price)))(
                    "税抜販売単価", Cents(price))("税込販売単価", Cents(WithTax(price)))(
                    "税抜仕入単価", Cents(price * 6 / 10))("税込仕入単価", Cents(WithTax(price * 6 / 10)))(
                    "仕入先コード", ctx.suppliers[0].code)("得意先コード", customer.code)))
                return false;
        }
        if (!ctx.settings.large) return true;
        // The large set repeats the lines with model numbers.
        std::vector<std::pair<size_t, const DemoItem*>> lines;
        for (size_t c = 0; c < categoryCount; ++c)
            for (const DemoItem& item : ProductCategories()[c].items) lines.emplace_back(c, &item);
        for (int i = 0; i < kLargeProducts; ++i) {
            auto [c, item] = lines[static_cast<size_t>(i) % lines.size()];
            std::string model = "型番" + std::string(ProductCategories()[c].codePrefix) + Pad(1000 + i, 6);
            if (!add(w, c, *item, model)) return false;
        }
        return true;
    });
}

}  // namespace velmora
