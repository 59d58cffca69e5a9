#include "admin/demo_words.h"

namespace velmora {

namespace {

constexpr DemoWord kFamilyNames[] = {
    {"佐藤", "ｻﾄｳ", "sato"},         {"鈴木", "ｽｽﾞｷ", "suzuki"},     {"高橋", "ﾀｶﾊｼ", "takahashi"},
    {"田中", "ﾀﾅｶ", "tanaka"},       {"伊藤", "ｲﾄｳ", "ito"},         {"渡辺", "ﾜﾀﾅﾍﾞ", "watanabe"},
    {"山本", "ﾔﾏﾓﾄ", "yamamoto"},    {"中村", "ﾅｶﾑﾗ", "nakamura"},   {"小林", "ｺﾊﾞﾔｼ", "kobayashi"},
    {"加藤", "ｶﾄｳ", "kato"},         {"吉田", "ﾖｼﾀﾞ", "yoshida"},    {"山田", "ﾔﾏﾀﾞ", "yamada"},
    {"佐々木", "ｻｻｷ", "sasaki"},     {"山口", "ﾔﾏｸﾞﾁ", "yamaguchi"}, {"松本", "ﾏﾂﾓﾄ", "matsumoto"},
    {"井上", "ｲﾉｳｴ", "inoue"},       {"木村", "ｷﾑﾗ", "kimura"},      {"林", "ﾊﾔｼ", "hayashi"},
    {"清水", "ｼﾐｽﾞ", "shimizu"},     {"斎藤", "ｻｲﾄｳ", "saito"},      {"森", "ﾓﾘ", "mori"},
    {"池田", "ｲｹﾀﾞ", "ikeda"},       {"橋本", "ﾊｼﾓﾄ", "hashimoto"},  {"石川", "ｲｼｶﾜ", "ishikawa"},
    {"前田", "ﾏｴﾀﾞ", "maeda"},       {"藤田", "ﾌｼﾞﾀ", "fujita"},     {"岡田", "ｵｶﾀﾞ", "okada"},
    {"後藤", "ｺﾞﾄｳ", "goto"},        {"長谷川", "ﾊｾｶﾞﾜ", "hasegawa"}, {"村上", "ﾑﾗｶﾐ", "murakami"},
};

constexpr DemoWord kGivenNames[] = {
    {"太郎", "ﾀﾛｳ", "taro"},     {"健一", "ｹﾝｲﾁ", "kenichi"}, {"大輔", "ﾀﾞｲｽｹ", "daisuke"},
    {"翔太", "ｼｮｳﾀ", "shota"},   {"直樹", "ﾅｵｷ", "naoki"},    {"誠", "ﾏｺﾄ", "makoto"},
    {"浩二", "ｺｳｼﾞ", "koji"},    {"隆", "ﾀｶｼ", "takashi"},    {"拓也", "ﾀｸﾔ", "takuya"},
    {"和也", "ｶｽﾞﾔ", "kazuya"},  {"修", "ｵｻﾑ", "osamu"},      {"剛", "ﾂﾖｼ", "tsuyoshi"},
    {"花子", "ﾊﾅｺ", "hanako"},   {"美咲", "ﾐｻｷ", "misaki"},   {"陽子", "ﾖｳｺ", "yoko"},
    {"恵", "ﾒｸﾞﾐ", "megumi"},    {"由美", "ﾕﾐ", "yumi"},      {"智子", "ﾄﾓｺ", "tomoko"},
    {"彩", "ｱﾔ", "aya"},         {"真由美", "ﾏﾕﾐ", "mayumi"}, {"裕子", "ﾕｳｺ", "yuko"},
    {"麻衣", "ﾏｲ", "mai"},
};

constexpr DemoWord kCompanyStems[] = {
    {"東和", "ﾄｳﾜ", "towa"},          {"大和", "ﾀﾞｲﾜ", "daiwa"},         {"三協", "ｻﾝｷｮｳ", "sankyo"},
    {"日新", "ﾆｯｼﾝ", "nisshin"},       {"旭", "ｱｻﾋ", "asahi"},            {"北斗", "ﾎｸﾄ", "hokuto"},
    {"昭栄", "ｼｮｳｴｲ", "shoei"},        {"丸山", "ﾏﾙﾔﾏ", "maruyama"},      {"中央", "ﾁｭｳｵｳ", "chuo"},
    {"富士", "ﾌｼﾞ", "fuji"},           {"光洋", "ｺｳﾖｳ", "koyo"},          {"平和", "ﾍｲﾜ", "heiwa"},
    {"協和", "ｷｮｳﾜ", "kyowa"},         {"日本橋", "ﾆﾎﾝﾊﾞｼ", "nihonbashi"}, {"関東", "ｶﾝﾄｳ", "kanto"},
    {"東邦", "ﾄｳﾎｳ", "toho"},          {"新光", "ｼﾝｺｳ", "shinko"},        {"太平", "ﾀｲﾍｲ", "taihei"},
    {"千代田", "ﾁﾖﾀﾞ", "chiyoda"},     {"武蔵野", "ﾑｻｼﾉ", "musashino"},   {"湘南", "ｼｮｳﾅﾝ", "shonan"},
    {"青葉", "ｱｵﾊﾞ", "aoba"},          {"緑川", "ﾐﾄﾞﾘｶﾜ", "midorikawa"},  {"北陸", "ﾎｸﾘｸ", "hokuriku"},
    {"浪速", "ﾅﾆﾜ", "naniwa"},         {"瀬戸", "ｾﾄ", "seto"},            {"若葉", "ﾜｶﾊﾞ", "wakaba"},
    {"白鳥", "ｼﾗﾄﾘ", "shiratori"},     {"朝日", "ｱｻﾋ", "asahi"},          {"松栄", "ｼｮｳｴｲ", "shoei"},
};

constexpr DemoWord kCompanyTrades[] = {
    {"製作所", "ｾｲｻｸｼｮ", "mfg"},         {"工業", "ｺｳｷﾞｮｳ", "kogyo"},  {"商事", "ｼｮｳｼﾞ", "shoji"},
    {"電機", "ﾃﾞﾝｷ", "denki"},           {"建設", "ｹﾝｾﾂ", "kensetsu"}, {"物産", "ﾌﾞｯｻﾝ", "bussan"},
    {"精機", "ｾｲｷ", "seiki"},            {"化学", "ｶｶﾞｸ", "chem"},     {"運輸", "ｳﾝﾕ", "unyu"},
    {"印刷", "ｲﾝｻﾂ", "print"},           {"設計事務所", "ｾｯｹｲｼﾞﾑｼｮ", "design"}, {"食品", "ｼｮｸﾋﾝ", "foods"},
    {"産業", "ｻﾝｷﾞｮｳ", "sangyo"},        {"技研", "ｷﾞｹﾝ", "giken"},    {"興産", "ｺｳｻﾝ", "kosan"},
};

constexpr DemoWord kSupplierTrades[] = {
    {"紙業", "ｼｷﾞｮｳ", "paper"},  {"文具", "ﾌﾞﾝｸﾞ", "bungu"},  {"事務機", "ｼﾞﾑｷ", "jimuki"},
    {"商会", "ｼｮｳｶｲ", "shokai"}, {"通商", "ﾂｳｼｮｳ", "tsusho"}, {"機工", "ｷｺｳ", "kiko"},
};

constexpr DemoPlace kPlaces[] = {
    {"東京都", "千代田区", "101", "03"},       {"東京都", "港区", "105", "03"},
    {"東京都", "新宿区", "160", "03"},         {"東京都", "品川区", "141", "03"},
    {"東京都", "大田区", "144", "03"},         {"東京都", "八王子市", "192", "042"},
    {"神奈川県", "横浜市西区", "220", "045"},  {"神奈川県", "川崎市中原区", "211", "044"},
    {"埼玉県", "さいたま市大宮区", "330", "048"}, {"千葉県", "千葉市中央区", "260", "043"},
    {"大阪府", "大阪市北区", "530", "06"},     {"大阪府", "堺市堺区", "590", "072"},
    {"愛知県", "名古屋市中区", "460", "052"},  {"京都府", "京都市下京区", "600", "075"},
    {"兵庫県", "神戸市中央区", "650", "078"},  {"福岡県", "福岡市博多区", "812", "092"},
    {"宮城県", "仙台市青葉区", "980", "022"},  {"北海道", "札幌市中央区", "060", "011"},
    {"広島県", "広島市中区", "730", "082"},    {"静岡県", "浜松市中区", "430", "053"},
};

constexpr const char* kTowns[] = {"本町", "栄町", "中央", "緑町", "旭町", "錦町",
                                  "東町", "西新町", "寿町", "大手町", "港町", "桜木町"};

constexpr const char* kBuildings[] = {"", "", "", "第一ビル", "センタービル", "駅前ビル", "ビジネスタワー", "産業会館"};

constexpr const char* kContactDepartments[] = {"総務部", "購買部", "資材部", "経理部", "製造部", "営業部", "施設管理課"};
constexpr const char* kContactTitles[] = {"", "", "主任", "係長", "課長", "部長"};

constexpr DemoItem kStationery[] = {
    {"油性ボールペン", "ﾕｾｲﾎﾞｰﾙﾍﾟﾝ", "本", 150},   {"ゲルインクボールペン", "ｹﾞﾙｲﾝｸﾎﾞｰﾙﾍﾟﾝ", "本", 180},
    {"シャープペンシル", "ｼｬｰﾌﾟﾍﾟﾝｼﾙ", "本", 300}, {"蛍光ペン", "ｹｲｺｳﾍﾟﾝ", "本", 120},
    {"油性マーカー", "ﾕｾｲﾏｰｶｰ", "本", 160},       {"修正テープ", "ｼｭｳｾｲﾃｰﾌﾟ", "個", 350},
    {"消しゴム", "ｹｼｺﾞﾑ", "個", 100},             {"ホッチキス", "ﾎｯﾁｷｽ", "台", 780},
};
constexpr const char* kStationeryVariants[] = {"黒", "赤", "青", "10本入"};

constexpr DemoItem kOfficeGoods[] = {
    {"クリアファイル", "ｸﾘｱﾌｧｲﾙ", "冊", 60},       {"フラットファイル", "ﾌﾗｯﾄﾌｧｲﾙ", "冊", 90},
    {"レバーアーチファイル", "ﾚﾊﾞｰｱｰﾁﾌｧｲﾙ", "冊", 850}, {"キャンパスノート", "ｷｬﾝﾊﾟｽﾉｰﾄ", "冊", 180},
    {"付箋", "ﾌｾﾝ", "個", 250},                     {"ゼムクリップ", "ｾﾞﾑｸﾘｯﾌﾟ", "箱", 150},
    {"ダブルクリップ", "ﾀﾞﾌﾞﾙｸﾘｯﾌﾟ", "箱", 300},   {"事務用封筒", "ｼﾞﾑﾖｳﾌｳﾄｳ", "箱", 1200},
};
constexpr const char* kOfficeGoodsVariants[] = {"A4", "B5", "A4 10冊パック", "A3"};

constexpr DemoItem kPaper[] = {
    {"コピー用紙", "ｺﾋﾟｰﾖｳｼ", "箱", 3800},          {"再生コピー用紙", "ｻｲｾｲｺﾋﾟｰﾖｳｼ", "箱", 3500},
    {"インクジェット用紙", "ｲﾝｸｼﾞｪｯﾄﾖｳｼ", "冊", 1600}, {"上質紙", "ｼﾞｮｳｼﾂｼ", "冊", 2200},
    {"感熱ロール紙", "ｶﾝﾈﾂﾛｰﾙｼ", "箱", 4800},      {"ラベル用紙", "ﾗﾍﾞﾙﾖｳｼ", "冊", 2400},
    {"連続伝票用紙", "ﾚﾝｿﾞｸﾃﾞﾝﾋﾟｮｳﾖｳｼ", "箱", 9800}, {"色上質紙", "ｲﾛｼﾞｮｳｼﾂｼ", "冊", 1400},
};
constexpr const char* kPaperVariants[] = {"A4 2500枚", "A3 1500枚", "B4 2500枚", "B5 2500枚"};

constexpr DemoItem kToner[] = {
    {"トナーカートリッジ", "ﾄﾅｰｶｰﾄﾘｯｼﾞ", "本", 18000}, {"インクカートリッジ", "ｲﾝｸｶｰﾄﾘｯｼﾞ", "個", 1800},
    {"ドラムユニット", "ﾄﾞﾗﾑﾕﾆｯﾄ", "個", 24000},       {"リボンカセット", "ﾘﾎﾞﾝｶｾｯﾄ", "個", 2600},
    {"廃トナーボックス", "ﾊｲﾄﾅｰﾎﾞｯｸｽ", "個", 3200},   {"再生トナー", "ｻｲｾｲﾄﾅｰ", "本", 9800},
    {"大容量インク", "ﾀﾞｲﾖｳﾘｮｳｲﾝｸ", "個", 3400},      {"ステープルカートリッジ", "ｽﾃｰﾌﾟﾙｶｰﾄﾘｯｼﾞ", "箱", 5200},
};
constexpr const char* kTonerVariants[] = {"ブラック", "シアン", "マゼンタ", "イエロー"};

constexpr DemoItem kComputer[] = {
    {"ワイヤレスマウス", "ﾜｲﾔﾚｽﾏｳｽ", "台", 2800},   {"USBキーボード", "USBｷｰﾎﾞｰﾄﾞ", "台", 3600},
    {"液晶モニター", "ｴｷｼｮｳﾓﾆﾀｰ", "台", 32000},      {"USBメモリ", "USBﾒﾓﾘ", "個", 1900},
    {"外付けハードディスク", "ｿﾄｽﾞｹﾊｰﾄﾞﾃﾞｨｽｸ", "台", 14800}, {"LANケーブル", "LANｹｰﾌﾞﾙ", "本", 680},
    {"スイッチングハブ", "ｽｲｯﾁﾝｸﾞﾊﾌﾞ", "台", 6800},   {"無停電電源装置", "ﾑﾃｲﾃﾞﾝﾃﾞﾝｹﾞﾝｿｳﾁ", "台", 28000},
};
constexpr const char* kComputerVariants[] = {"スタンダード", "ビジネス", "ハイグレード", "法人向け"};

constexpr DemoItem kFurniture[] = {
    {"事務用デスク", "ｼﾞﾑﾖｳﾃﾞｽｸ", "台", 48000},     {"オフィスチェア", "ｵﾌｨｽﾁｪｱ", "脚", 36000},
    {"会議テーブル", "ｶｲｷﾞﾃｰﾌﾞﾙ", "台", 58000},     {"書庫", "ｼｮｺ", "台", 42000},
    {"ロッカー", "ﾛｯｶｰ", "台", 38000},              {"ホワイトボード", "ﾎﾜｲﾄﾎﾞｰﾄﾞ", "台", 26000},
    {"パーティション", "ﾊﾟｰﾃｨｼｮﾝ", "枚", 18000},    {"スチール棚", "ｽﾁｰﾙﾀﾞﾅ", "台", 22000},
};
constexpr const char* kFurnitureVariants[] = {"W1200", "W1400", "W1600", "W1800"};

constexpr DemoItem kPacking[] = {
    {"段ボール箱", "ﾀﾞﾝﾎﾞｰﾙﾊﾞｺ", "枚", 180},       {"OPPテープ", "OPPﾃｰﾌﾟ", "巻", 220},
    {"クラフトテープ", "ｸﾗﾌﾄﾃｰﾌﾟ", "巻", 200},     {"気泡緩衝材", "ｷﾎｳｶﾝｼｮｳｻﾞｲ", "巻", 3800},
    {"ストレッチフィルム", "ｽﾄﾚｯﾁﾌｨﾙﾑ", "巻", 1500}, {"PPバンド", "PPﾊﾞﾝﾄﾞ", "巻", 2400},
    {"ポリ袋", "ﾎﾟﾘﾌﾞｸﾛ", "袋", 900},               {"結束バンド", "ｹｯｿｸﾊﾞﾝﾄﾞ", "袋", 480},
};
constexpr const char* kPackingVariants[] = {"小", "中", "大", "50入"};

constexpr DemoItem kTools[] = {
    {"電動ドライバー", "ﾃﾞﾝﾄﾞｳﾄﾞﾗｲﾊﾞｰ", "台", 16800}, {"ラチェットレンチ", "ﾗﾁｪｯﾄﾚﾝﾁ", "本", 3200},
    {"六角レンチセット", "ﾛｯｶｸﾚﾝﾁｾｯﾄ", "組", 2400},   {"モンキーレンチ", "ﾓﾝｷｰﾚﾝﾁ", "本", 2600},
    {"ペンチ", "ﾍﾟﾝﾁ", "本", 1800},                   {"ノギス", "ﾉｷﾞｽ", "本", 4800},
    {"トルクレンチ", "ﾄﾙｸﾚﾝﾁ", "本", 18000},         {"工具箱", "ｺｳｸﾞﾊﾞｺ", "個", 5800},
};
constexpr const char* kToolVariants[] = {"100mm", "150mm", "200mm", "セット"};

constexpr DemoItem kSafety[] = {
    {"安全靴", "ｱﾝｾﾞﾝｸﾂ", "足", 6800},             {"保護メガネ", "ﾎｺﾞﾒｶﾞﾈ", "個", 1200},
    {"防塵マスク", "ﾎﾞｳｼﾞﾝﾏｽｸ", "箱", 2800},       {"作業用手袋", "ｻｷﾞｮｳﾖｳﾃﾌﾞｸﾛ", "双", 380},
    {"ヘルメット", "ﾍﾙﾒｯﾄ", "個", 3600},           {"耳栓", "ﾐﾐｾﾝ", "箱", 1900},
    {"反射ベスト", "ﾊﾝｼｬﾍﾞｽﾄ", "着", 1500},        {"安全帯", "ｱﾝｾﾞﾝﾀｲ", "本", 12800},
};
constexpr const char* kSafetyVariants[] = {"S", "M", "L", "LL"};

constexpr DemoItem kCleaning[] = {
    {"ペーパータオル", "ﾍﾟｰﾊﾟｰﾀｵﾙ", "箱", 4200},    {"トイレットペーパー", "ﾄｲﾚｯﾄﾍﾟｰﾊﾟｰ", "箱", 5200},
    {"ゴミ袋", "ｺﾞﾐﾌﾞｸﾛ", "箱", 2600},              {"アルコール除菌液", "ｱﾙｺｰﾙｼﾞｮｷﾝｴｷ", "本", 1400},
    {"ハンドソープ", "ﾊﾝﾄﾞｿｰﾌﾟ", "本", 680},        {"モップ", "ﾓｯﾌﾟ", "本", 2800},
    {"床用洗剤", "ﾕｶﾖｳｾﾝｻﾞｲ", "本", 1800},          {"ウエス", "ｳｴｽ", "袋", 1600},
};
constexpr const char* kCleaningVariants[] = {"業務用", "詰替用", "徳用", "ケース"};

constexpr DemoItem kElectrical[] = {
    {"LED蛍光灯", "LEDｹｲｺｳﾄｳ", "本", 3800},       {"延長コード", "ｴﾝﾁｮｳｺｰﾄﾞ", "本", 1200},
    {"電源タップ", "ﾃﾞﾝｹﾞﾝﾀｯﾌﾟ", "個", 1600},      {"VVFケーブル", "VVFｹｰﾌﾞﾙ", "巻", 9800},
    {"ブレーカー", "ﾌﾞﾚｰｶｰ", "個", 2400},          {"コンセント", "ｺﾝｾﾝﾄ", "個", 480},
    {"乾電池", "ｶﾝﾃﾞﾝﾁ", "パック", 580},            {"作業灯", "ｻｷﾞｮｳﾄｳ", "台", 6800},
};
constexpr const char* kElectricalVariants[] = {"20W形", "40W形", "3m", "5m"};

constexpr DemoItem kMachineParts[] = {
    {"ベアリング", "ﾍﾞｱﾘﾝｸﾞ", "個", 980},           {"Vベルト", "Vﾍﾞﾙﾄ", "本", 1800},
    {"六角ボルト", "ﾛｯｶｸﾎﾞﾙﾄ", "箱", 2200},         {"ナット", "ﾅｯﾄ", "箱", 1500},
    {"平ワッシャー", "ﾋﾗﾜｯｼｬｰ", "箱", 900},          {"Oリング", "Oﾘﾝｸﾞ", "袋", 1200},
    {"スプロケット", "ｽﾌﾟﾛｹｯﾄ", "個", 4800},        {"ローラーチェーン", "ﾛｰﾗｰﾁｪｰﾝ", "本", 6200},
};
constexpr const char* kMachinePartVariants[] = {"M6", "M8", "M10", "M12"};

constexpr DemoItem kServices[] = {
    {"設置作業費", "ｾｯﾁｻｷﾞｮｳﾋ", "式", 15000},       {"搬入作業費", "ﾊﾝﾆｭｳｻｷﾞｮｳﾋ", "式", 8000},
    {"配送料", "ﾊｲｿｳﾘｮｳ", "式", 1500},             {"保守サービス", "ﾎｼｭｻｰﾋﾞｽ", "月", 12000},
};
constexpr const char* kServiceVariants[] = {"標準", "休日", "夜間", "遠隔地"};

constexpr DemoCategory kCategories[] = {
    {"010", "文具", "ST", kStationery, kStationeryVariants},
    {"020", "事務用品", "OF", kOfficeGoods, kOfficeGoodsVariants},
    {"030", "用紙", "PP", kPaper, kPaperVariants},
    {"040", "トナー・インク", "TN", kToner, kTonerVariants},
    {"050", "PC周辺機器", "PC", kComputer, kComputerVariants},
    {"060", "オフィス家具", "FN", kFurniture, kFurnitureVariants},
    {"070", "梱包資材", "PK", kPacking, kPackingVariants},
    {"080", "作業工具", "TL", kTools, kToolVariants},
    {"090", "安全保護具", "SF", kSafety, kSafetyVariants},
    {"100", "清掃・衛生用品", "CL", kCleaning, kCleaningVariants},
    {"110", "電設資材", "EL", kElectrical, kElectricalVariants},
    {"120", "機械部品", "MP", kMachineParts, kMachinePartVariants},
    {"900", "サービス・諸費用", "SV", kServices, kServiceVariants},
};

}  // namespace

std::span<const DemoWord> FamilyNames() { return kFamilyNames; }
std::span<const DemoWord> GivenNames() { return kGivenNames; }
std::span<const DemoWord> CompanyStems() { return kCompanyStems; }
std::span<const DemoWord> CompanyTrades() { return kCompanyTrades; }
std::span<const DemoWord> SupplierTrades() { return kSupplierTrades; }
std::span<const DemoPlace> Places() { return kPlaces; }
std::span<const char* const> TownNames() { return kTowns; }
std::span<const char* const> BuildingNames() { return kBuildings; }
std::span<const char* const> ContactDepartments() { return kContactDepartments; }
std::span<const char* const> ContactTitles() { return kContactTitles; }
std::span<const DemoCategory> ProductCategories() { return kCategories; }

}  // namespace velmora
