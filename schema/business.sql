-- Business database of an installation, shared by the programs of the suite.
-- Codes, dates ("yyyymmdd"), time stamps ("yyyymmdd hhnnss") and small code
-- values are text; quantities, prices, amounts and rates are NUMERIC.

-- The user company: address, closing dates, decimals and rounding, numbering and sign-in settings.
CREATE TABLE Mユーザ (
    ID TEXT NOT NULL,
    名称 TEXT,
    郵便番号 TEXT,
    住所A TEXT,
    住所B TEXT,
    住所C TEXT,
    代表者名 TEXT,
    電話 TEXT,
    FAX TEXT,
    HOMEPAGE TEXT,
    EMAIL TEXT,
    会社ロゴfile TEXT,
    社印file TEXT,
    銀行口座A TEXT,
    銀行口座B TEXT,
    銀行口座C TEXT,
    銀行口座D TEXT,
    写真フォルダ TEXT,
    ドキュメントフォルダ TEXT,
    総合振込ファイル TEXT,
    基本読込フォルダ TEXT,
    帳票イメージフォルダ TEXT,
    その他読込ファイル TEXT,
    本支店連携フォルダ TEXT,
    テキスト出力フォルダ TEXT,
    BACKUPフォルダ TEXT,
    明細整理実行日 TEXT,
    統計整理実行日 TEXT,
    決算月 TEXT,
    決算日 TEXT,
    締日区分 TEXT,
    締日 TEXT,
    決済方法 TEXT,
    決済月 TEXT,
    決済日 TEXT,
    手形サイト TEXT,
    現金決済金額 NUMERIC,
    売上金額丸め方法 TEXT,
    仕入金額丸め方法 TEXT,
    在庫評価方法 TEXT,
    売上単価少数以下桁数 TEXT,
    売上数量少数以下桁数 TEXT,
    仕入単価少数以下桁数 TEXT,
    仕入数量少数以下桁数 TEXT,
    在庫単価少数以下桁数 TEXT,
    在庫数量少数以下桁数 TEXT,
    重量少数以下桁数 TEXT,
    得意先単価自動更新区分 TEXT,
    納品先単価自動更新区分 TEXT,
    仕入先単価自動更新区分 TEXT,
    明細保存月数 TEXT,
    統計保存年数 TEXT,
    整理実施可能日自 TEXT,
    整理実施可能日至 TEXT,
    整理実施可能時刻 TEXT,
    伝票番号管理区分 TEXT,
    暗証番号有無 TEXT,
    更新実行区分 TEXT,
    特権暗証番号 TEXT,
    システム特権暗証番号 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (ID)
);

-- Offices; "000" is the head office and stands for the whole company.
CREATE TABLE M事業所 (
    コード TEXT NOT NULL,
    名称 TEXT,
    略称 TEXT,
    郵便番号 TEXT,
    住所A TEXT,
    住所B TEXT,
    住所C TEXT,
    代表者名 TEXT,
    電話 TEXT,
    FAX TEXT,
    登録番号 TEXT,
    HOMEPAGE TEXT,
    EMAIL TEXT,
    銀行口座A TEXT,
    銀行口座B TEXT,
    銀行口座C TEXT,
    銀行口座D TEXT,
    総合振込ファイル TEXT,
    基本読込フォルダ TEXT,
    帳票イメージフォルダ TEXT,
    その他読込ファイル TEXT,
    本支店連携フォルダ TEXT,
    テキスト出力フォルダ TEXT,
    BACKUPフォルダ TEXT,
    地区コード TEXT,
    暗証番号有無 TEXT,
    更新実行区分 TEXT,
    特権暗証番号 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Links to other business systems (accounting, payroll ...) and which masters they update.
CREATE TABLE M他業務連携 (
    コード TEXT NOT NULL,
    業務名 TEXT,
    連携有無区分 TEXT,
    連携DB TEXT,
    連携DBMW TEXT,
    連携データソース名 TEXT,
    連携ドライバ名 TEXT,
    連携接続文字列 TEXT,
    連携データベース名 TEXT,
    連携サーバー名 TEXT,
    連携ユーザーID TEXT,
    連携パスワード TEXT,
    連携アプリフォルダ TEXT,
    顧客更新有無区分 TEXT,
    得意先更新有無区分 TEXT,
    納品先更新有無区分 TEXT,
    仕入先更新有無区分 TEXT,
    メーカ更新有無区分 TEXT,
    対応先更新有無区分 TEXT,
    商品更新有無区分 TEXT,
    社員更新有無区分 TEXT,
    PRIMARY KEY (コード)
);

-- Departments.
CREATE TABLE M部門 (
    コード TEXT NOT NULL,
    名称 TEXT,
    略称 TEXT,
    稼動状況区分 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Sections within departments.
CREATE TABLE Mセクション (
    コード TEXT NOT NULL,
    名称 TEXT,
    略称 TEXT,
    部門コード TEXT,
    稼動状況区分 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Staff: organisation, sign-in (login ID, enciphered PIN) and permissions per processing category and program.
CREATE TABLE M担当者 (
    コード TEXT NOT NULL,
    氏名 TEXT,
    カナ TEXT,
    事業所コード TEXT,
    部門コード TEXT,
    セクションコード TEXT,
    役職コード TEXT,
    社員区分 TEXT,
    在籍区分 TEXT,
    入社日付 TEXT,
    退社日付 TEXT,
    ログインID TEXT,
    暗証番号 TEXT,
    アクセス権限 TEXT,
    電話 TEXT,
    EMAIL TEXT,
    処理分類0操作許可 TEXT,
    処理分類1操作許可 TEXT,
    処理分類2操作許可 TEXT,
    処理分類3操作許可 TEXT,
    処理分類4操作許可 TEXT,
    処理分類5操作許可 TEXT,
    処理分類6操作許可 TEXT,
    処理分類7操作許可 TEXT,
    処理分類8操作許可 TEXT,
    処理分類9操作許可 TEXT,
    操作許可 TEXT,
    入力許可 TEXT,
    修正許可 TEXT,
    削除許可 TEXT,
    印刷許可 TEXT,
    プレビュ許可 TEXT,
    テキスト出力許可 TEXT,
    イメージ出力許可 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Customers with their staff member, list-price rate and consumption tax settings.
CREATE TABLE M得意先 (
    コード TEXT NOT NULL,
    名称A TEXT,
    名称B TEXT,
    略称 TEXT,
    カナ TEXT,
    郵便番号 TEXT,
    住所A TEXT,
    住所B TEXT,
    住所C TEXT,
    電話 TEXT,
    電話番号 TEXT,
    FAX TEXT,
    EMAIL TEXT,
    御担当者名 TEXT,
    担当者コード TEXT,
    定価掛率 NUMERIC,
    消費税区分 TEXT,
    消費税算出区分 TEXT,
    消費税丸め方法 TEXT,
    消費税丸め桁位置 TEXT,
    消費税端数調整区分 TEXT,
    名称入力区分 TEXT,
    締日 TEXT,
    取引状況区分 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Contacts at a customer.
CREATE TABLE M得意先御担当者 (
    得意先コード TEXT NOT NULL,
    御担当者コード TEXT NOT NULL,
    氏名 TEXT,
    カナ TEXT,
    部署名 TEXT,
    役職名 TEXT,
    電話 TEXT,
    電話番号 TEXT,
    EMAIL TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (得意先コード, 御担当者コード)
);

-- Counterparties: parties dealt with outside the customer and supplier masters (prospects, one-off partners).
CREATE TABLE M対応先 (
    コード TEXT NOT NULL,
    名称A TEXT,
    名称B TEXT,
    略称 TEXT,
    カナ TEXT,
    郵便番号 TEXT,
    住所A TEXT,
    住所B TEXT,
    住所C TEXT,
    電話 TEXT,
    電話番号 TEXT,
    FAX TEXT,
    EMAIL TEXT,
    御担当者名 TEXT,
    担当者コード TEXT,
    得意先コード TEXT,
    仕入先コード TEXT,
    定価掛率 NUMERIC,
    消費税区分 TEXT,
    消費税算出区分 TEXT,
    消費税丸め方法 TEXT,
    消費税丸め桁位置 TEXT,
    消費税端数調整区分 TEXT,
    名称入力区分 TEXT,
    取引状況区分 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Contacts at a counterparty.
CREATE TABLE M対応先御担当者 (
    対応先コード TEXT NOT NULL,
    御担当者コード TEXT NOT NULL,
    氏名 TEXT,
    カナ TEXT,
    部署名 TEXT,
    役職名 TEXT,
    電話 TEXT,
    電話番号 TEXT,
    EMAIL TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (対応先コード, 御担当者コード)
);

-- Delivery destinations, optionally tied to a customer or supplier; some are stock locations.
CREATE TABLE M納品先 (
    コード TEXT NOT NULL,
    名称A TEXT,
    名称B TEXT,
    略称 TEXT,
    カナ TEXT,
    郵便番号 TEXT,
    住所A TEXT,
    住所B TEXT,
    住所C TEXT,
    電話 TEXT,
    電話番号 TEXT,
    FAX TEXT,
    EMAIL TEXT,
    担当者コード TEXT,
    得意先コード TEXT,
    仕入先コード TEXT,
    在庫場所区分 TEXT,
    名称入力区分 TEXT,
    取引状況区分 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Contacts at a delivery destination.
CREATE TABLE M納品先御担当者 (
    納品先コード TEXT NOT NULL,
    御担当者コード TEXT NOT NULL,
    氏名 TEXT,
    カナ TEXT,
    部署名 TEXT,
    役職名 TEXT,
    電話 TEXT,
    電話番号 TEXT,
    EMAIL TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (納品先コード, 御担当者コード)
);

-- Suppliers with their consumption tax settings.
CREATE TABLE M仕入先 (
    コード TEXT NOT NULL,
    名称A TEXT,
    名称B TEXT,
    略称 TEXT,
    カナ TEXT,
    郵便番号 TEXT,
    住所A TEXT,
    住所B TEXT,
    住所C TEXT,
    電話 TEXT,
    電話番号 TEXT,
    FAX TEXT,
    EMAIL TEXT,
    担当者コード TEXT,
    消費税区分 TEXT,
    消費税算出区分 TEXT,
    消費税丸め方法 TEXT,
    消費税丸め桁位置 TEXT,
    消費税端数調整区分 TEXT,
    名称入力区分 TEXT,
    取引状況区分 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Contacts at a supplier.
CREATE TABLE M仕入先御担当者 (
    仕入先コード TEXT NOT NULL,
    御担当者コード TEXT NOT NULL,
    氏名 TEXT,
    カナ TEXT,
    部署名 TEXT,
    役職名 TEXT,
    電話 TEXT,
    電話番号 TEXT,
    EMAIL TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (仕入先コード, 御担当者コード)
);

-- Makers (manufacturers) of the products.
CREATE TABLE Mメーカ (
    コード TEXT NOT NULL,
    名称A TEXT,
    名称B TEXT,
    略称 TEXT,
    カナ TEXT,
    郵便番号 TEXT,
    住所A TEXT,
    住所B TEXT,
    住所C TEXT,
    電話 TEXT,
    電話番号 TEXT,
    FAX TEXT,
    EMAIL TEXT,
    担当者コード TEXT,
    取引状況区分 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Contacts at a maker.
CREATE TABLE Mメーカ御担当者 (
    メーカコード TEXT NOT NULL,
    御担当者コード TEXT NOT NULL,
    氏名 TEXT,
    カナ TEXT,
    部署名 TEXT,
    役職名 TEXT,
    電話 TEXT,
    電話番号 TEXT,
    EMAIL TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (メーカコード, 御担当者コード)
);

-- Product categories.
CREATE TABLE M商品分類 (
    コード TEXT NOT NULL,
    名称 TEXT,
    略称 TEXT,
    使用状況区分 TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Products: names, unit, tax settings, list, selling and purchase prices without and with tax.
-- An empty 仕入先コード, メーカコード or 得意先コード means the product is not tied to one.
CREATE TABLE M商品 (
    コード TEXT NOT NULL,
    名称A TEXT,
    名称B TEXT,
    カナ TEXT,
    商品分類コード TEXT,
    品区分 TEXT,
    在庫管理区分 TEXT,
    取扱状況区分 TEXT,
    単位 TEXT,
    売上課税区分 TEXT,
    売上消費税区分 TEXT,
    仕入課税区分 TEXT,
    仕入消費税区分 TEXT,
    税抜販売定価 NUMERIC,
    税込販売定価 NUMERIC,
    税抜販売単価 NUMERIC,
    税込販売単価 NUMERIC,
    税抜仕入単価 NUMERIC,
    税込仕入単価 NUMERIC,
    仕入先コード TEXT,
    メーカコード TEXT,
    得意先コード TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (コード)
);

-- Consumption tax rates by effective date; the row before the one in force is the previous rate.
CREATE TABLE G消費税 (
    施行日 TEXT NOT NULL,
    消費税率 NUMERIC,
    PRIMARY KEY (施行日)
);

-- Japanese eras and their first days.
CREATE TABLE K年号区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    開始日付 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the tax kinds (tax added, tax included).
CREATE TABLE K消費税区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the tax calculation units (none, per line, per document, per billing).
CREATE TABLE K消費税算出区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the tax display choices of a quotation.
CREATE TABLE K見積消費税表示区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the total display choices of a quotation.
CREATE TABLE K見積合計表示区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the quotation line kinds (item line, subtotal levels).
CREATE TABLE K見積行区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the trading states of customers, suppliers and other partners ('3' is closed).
CREATE TABLE K取引状況区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the handling states of products ('3' is discontinued).
CREATE TABLE K取扱状況区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the operating states of departments and sections.
CREATE TABLE K稼動状況区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the use states of product categories.
CREATE TABLE K使用状況区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the employment states of staff ('0' employed).
CREATE TABLE K在籍区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the employee kinds.
CREATE TABLE K社員区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the product kinds.
CREATE TABLE K品区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the stock control choices of products.
CREATE TABLE K在庫管理区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the directions of a sales activity (incoming, outgoing).
CREATE TABLE K発信区分 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the ways a sales activity was carried out (visit, call, mail ...).
CREATE TABLE K応対方法 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the subjects of sales activities.
CREATE TABLE K要件分類 (
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (区分)
);

-- Names of the stages of a sales activity, per subject.
CREATE TABLE K対応分類 (
    要件分類 TEXT NOT NULL,
    区分 TEXT NOT NULL,
    名称 TEXT,
    PRIMARY KEY (要件分類, 区分)
);

-- Numbering schemes: sequence kind, the undated company-wide counters and the update program to start.
CREATE TABLE A番号情報 (
    番号ID TEXT NOT NULL,
    名称 TEXT,
    連番種類 TEXT,
    連番 TEXT,
    履歴連番 TEXT,
    更新プログラム TEXT,
    PRIMARY KEY (番号ID)
);

-- Company-wide counters per numbering period.
CREATE TABLE A期日別番号情報 (
    番号ID TEXT NOT NULL,
    期日 TEXT NOT NULL,
    連番 TEXT,
    履歴連番 TEXT,
    PRIMARY KEY (番号ID, 期日)
);

-- Undated counters per office.
CREATE TABLE A事業所別番号情報 (
    事業所コード TEXT NOT NULL,
    番号ID TEXT NOT NULL,
    連番 TEXT,
    履歴連番 TEXT,
    PRIMARY KEY (事業所コード, 番号ID)
);

-- Counters per office and numbering period.
CREATE TABLE A事業所別期日別番号情報 (
    事業所コード TEXT NOT NULL,
    番号ID TEXT NOT NULL,
    期日 TEXT NOT NULL,
    連番 TEXT,
    履歴連番 TEXT,
    PRIMARY KEY (事業所コード, 番号ID, 期日)
);

-- Sales quotation headers.
CREATE TABLE T営業見積 (
    事業所コード TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    営業見積No TEXT NOT NULL,
    参照営業見積事業所コード TEXT,
    参照営業見積番号基準日付 TEXT,
    参照営業見積No TEXT,
    参照営業引合事業所コード TEXT,
    参照営業引合番号基準日付 TEXT,
    参照営業引合No TEXT,
    営業見積日付 TEXT,
    得意先対応先区分 TEXT,
    得意先コード TEXT,
    得意先名称A TEXT,
    得意先名称B TEXT,
    得意先御担当者コード TEXT,
    御担当者名 TEXT,
    担当者コード TEXT,
    部門コード TEXT,
    セクションコード TEXT,
    納品先対応先区分 TEXT,
    納品先コード TEXT,
    納品先名称A TEXT,
    納品先名称B TEXT,
    定価掛率 NUMERIC,
    タイトル TEXT,
    見積条件 TEXT,
    見積納期 TEXT,
    見積期限 TEXT,
    消費税表示区分 TEXT,
    合計表示区分 TEXT,
    見積納期日付 TEXT,
    見積伝票備考A TEXT,
    見積伝票備考B TEXT,
    見積数量合計 NUMERIC,
    見積金額合計 NUMERIC,
    税抜見積金額合計 NUMERIC,
    見積消費税合計 NUMERIC,
    税込見積金額合計 NUMERIC,
    仕入数量合計 NUMERIC,
    仕入金額合計 NUMERIC,
    税抜仕入金額合計 NUMERIC,
    仕入消費税合計 NUMERIC,
    税込仕入金額合計 NUMERIC,
    得意先消費税区分 TEXT,
    得意先消費税算出区分 TEXT,
    得意先消費税丸め方法 TEXT,
    得意先消費税丸め桁位置 TEXT,
    得意先消費税端数調整区分 TEXT,
    得意先名称入力区分 TEXT,
    納品先名称入力区分 TEXT,
    伝票発行区分 TEXT,
    営業見積メモ TEXT,
    承認日付 TEXT,
    承認者コード TEXT,
    承認区分 TEXT,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (事業所コード, 番号基準日付, 営業見積No)
);

-- Sales quotation lines, keyed by the unique line number that a line keeps while it lives.
-- 仕入先名称B is never written by the quotation program; the supplier-name history reads it.
CREATE TABLE T営業見積明細 (
    事業所コード TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    営業見積No TEXT NOT NULL,
    営業見積固有行No TEXT NOT NULL,
    営業見積行No TEXT,
    営業見積日付 TEXT,
    得意先対応先区分 TEXT,
    得意先コード TEXT,
    担当者コード TEXT,
    部門コード TEXT,
    セクションコード TEXT,
    納品先対応先区分 TEXT,
    納品先コード TEXT,
    行区分 TEXT,
    商品コード TEXT,
    商品名 TEXT,
    見積数量 NUMERIC,
    見積単位 TEXT,
    見積単価 NUMERIC,
    見積金額 NUMERIC,
    見積消費税 NUMERIC,
    売上課税区分 TEXT,
    売上消費税区分 TEXT,
    仕入先対応先区分 TEXT,
    仕入先コード TEXT,
    仕入先名称A TEXT,
    仕入数量 NUMERIC,
    仕入単位 TEXT,
    仕入単価 NUMERIC,
    仕入金額 NUMERIC,
    仕入消費税 NUMERIC,
    仕入課税区分 TEXT,
    仕入消費税区分 TEXT,
    計区分 TEXT,
    商品売上課税区分 TEXT,
    商品売上消費税区分 TEXT,
    商品仕入課税区分 TEXT,
    商品仕入消費税区分 TEXT,
    商品税抜販売定価 NUMERIC,
    商品税込販売定価 NUMERIC,
    商品税抜販売単価 NUMERIC,
    商品税込販売単価 NUMERIC,
    商品税抜仕入単価 NUMERIC,
    商品税込仕入単価 NUMERIC,
    商品名称入力区分 TEXT,
    仕入先消費税区分 TEXT,
    仕入先消費税算出区分 TEXT,
    仕入先消費税丸め方法 TEXT,
    仕入先消費税丸め桁位置 TEXT,
    仕入先消費税端数調整区分 TEXT,
    仕入先名称入力区分 TEXT,
    明細メモ TEXT,
    承認日付 TEXT,
    承認者コード TEXT,
    承認区分 TEXT,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    仕入先名称B TEXT,
    PRIMARY KEY (事業所コード, 番号基準日付, 営業見積No, 営業見積固有行No)
);

-- History of quotation headers: red ("0") rows for replaced or deleted states, black ("1") rows for stored ones.
CREATE TABLE R営業見積 (
    事業所コード TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    営業見積履歴No TEXT NOT NULL,
    赤黒区分 TEXT NOT NULL,
    営業見積No TEXT NOT NULL,
    参照営業見積事業所コード TEXT,
    参照営業見積番号基準日付 TEXT,
    参照営業見積No TEXT,
    参照営業引合事業所コード TEXT,
    参照営業引合番号基準日付 TEXT,
    参照営業引合No TEXT,
    営業見積日付 TEXT,
    得意先対応先区分 TEXT,
    得意先コード TEXT,
    得意先名称A TEXT,
    得意先名称B TEXT,
    得意先御担当者コード TEXT,
    御担当者名 TEXT,
    担当者コード TEXT,
    部門コード TEXT,
    セクションコード TEXT,
    納品先対応先区分 TEXT,
    納品先コード TEXT,
    納品先名称A TEXT,
    納品先名称B TEXT,
    定価掛率 NUMERIC,
    タイトル TEXT,
    見積条件 TEXT,
    見積納期 TEXT,
    見積期限 TEXT,
    消費税表示区分 TEXT,
    合計表示区分 TEXT,
    見積納期日付 TEXT,
    見積伝票備考A TEXT,
    見積伝票備考B TEXT,
    見積数量合計 NUMERIC,
    見積金額合計 NUMERIC,
    税抜見積金額合計 NUMERIC,
    見積消費税合計 NUMERIC,
    税込見積金額合計 NUMERIC,
    仕入数量合計 NUMERIC,
    仕入金額合計 NUMERIC,
    税抜仕入金額合計 NUMERIC,
    仕入消費税合計 NUMERIC,
    税込仕入金額合計 NUMERIC,
    得意先消費税区分 TEXT,
    得意先消費税算出区分 TEXT,
    得意先消費税丸め方法 TEXT,
    得意先消費税丸め桁位置 TEXT,
    得意先消費税端数調整区分 TEXT,
    得意先名称入力区分 TEXT,
    納品先名称入力区分 TEXT,
    伝票発行区分 TEXT,
    営業見積メモ TEXT,
    承認日付 TEXT,
    承認者コード TEXT,
    承認区分 TEXT,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (事業所コード, 番号基準日付, 営業見積No, 営業見積履歴No, 赤黒区分)
);

-- History of quotation lines, red and black like the header history.
CREATE TABLE R営業見積明細 (
    事業所コード TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    営業見積履歴No TEXT NOT NULL,
    赤黒区分 TEXT NOT NULL,
    営業見積No TEXT NOT NULL,
    営業見積固有行No TEXT NOT NULL,
    営業見積行No TEXT,
    営業見積日付 TEXT,
    得意先対応先区分 TEXT,
    得意先コード TEXT,
    担当者コード TEXT,
    部門コード TEXT,
    セクションコード TEXT,
    納品先対応先区分 TEXT,
    納品先コード TEXT,
    行区分 TEXT,
    商品コード TEXT,
    商品名 TEXT,
    見積数量 NUMERIC,
    見積単位 TEXT,
    見積単価 NUMERIC,
    見積金額 NUMERIC,
    見積消費税 NUMERIC,
    売上課税区分 TEXT,
    売上消費税区分 TEXT,
    仕入先対応先区分 TEXT,
    仕入先コード TEXT,
    仕入先名称A TEXT,
    仕入数量 NUMERIC,
    仕入単位 TEXT,
    仕入単価 NUMERIC,
    仕入金額 NUMERIC,
    仕入消費税 NUMERIC,
    仕入課税区分 TEXT,
    仕入消費税区分 TEXT,
    計区分 TEXT,
    商品売上課税区分 TEXT,
    商品売上消費税区分 TEXT,
    商品仕入課税区分 TEXT,
    商品仕入消費税区分 TEXT,
    商品税抜販売定価 NUMERIC,
    商品税込販売定価 NUMERIC,
    商品税抜販売単価 NUMERIC,
    商品税込販売単価 NUMERIC,
    商品税抜仕入単価 NUMERIC,
    商品税込仕入単価 NUMERIC,
    商品名称入力区分 TEXT,
    仕入先消費税区分 TEXT,
    仕入先消費税算出区分 TEXT,
    仕入先消費税丸め方法 TEXT,
    仕入先消費税丸め桁位置 TEXT,
    仕入先消費税端数調整区分 TEXT,
    仕入先名称入力区分 TEXT,
    明細メモ TEXT,
    承認日付 TEXT,
    承認者コード TEXT,
    承認区分 TEXT,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    仕入先名称B TEXT,
    PRIMARY KEY (事業所コード, 番号基準日付, 営業見積No, 営業見積履歴No, 赤黒区分, 営業見積固有行No)
);

-- Sales inquiries: a request from a customer for one item, taken over into a quotation.
CREATE TABLE T営業引合 (
    事業所コード TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    営業引合No TEXT NOT NULL,
    営業引合日付 TEXT,
    営業引合納期 TEXT,
    得意先対応先区分 TEXT,
    得意先コード TEXT,
    得意先名称A TEXT,
    得意先名称B TEXT,
    得意先名称入力区分 TEXT,
    担当者コード TEXT,
    部門コード TEXT,
    セクションコード TEXT,
    営業引合商品コード TEXT,
    営業引合商品名A TEXT,
    営業引合商品名B TEXT,
    営業引合商品名称入力区分 TEXT,
    営業引合数量 NUMERIC,
    営業引合単位 TEXT,
    営業引合単価 NUMERIC,
    営業引合金額 NUMERIC,
    仕入先対応先区分 TEXT,
    仕入先コード TEXT,
    仕入先名称A TEXT,
    仕入先名称入力区分 TEXT,
    仕入単価 NUMERIC,
    仕入金額 NUMERIC,
    営業引合メモ TEXT,
    承認日付 TEXT,
    承認者コード TEXT,
    承認区分 TEXT,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (事業所コード, 番号基準日付, 営業引合No)
);

-- Sales activities (visits, calls, mails) of a staff member, optionally naming a quotation or inquiry.
CREATE TABLE T営業活動明細 (
    担当者コード TEXT NOT NULL,
    日付 TEXT NOT NULL,
    開始時刻 TEXT NOT NULL,
    終了時刻 TEXT NOT NULL,
    事業所コード TEXT,
    発信区分 TEXT,
    応対方法 TEXT,
    要件分類 TEXT,
    対応分類 TEXT,
    得意先対応先区分 TEXT,
    得意先コード TEXT,
    相手先名称 TEXT,
    相手先御担当者名 TEXT,
    営業活動摘要 TEXT,
    営業見積事業所コード TEXT,
    営業見積番号基準日付 TEXT,
    営業見積No TEXT,
    営業引合事業所コード TEXT,
    営業引合番号基準日付 TEXT,
    営業引合No TEXT,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (担当者コード, 日付, 開始時刻, 終了時刻)
);

-- Sales invoices; the quotation they bill is named by its key.
CREATE TABLE T営業請求 (
    事業所コード TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    営業請求No TEXT NOT NULL,
    営業請求日付 TEXT,
    得意先コード TEXT,
    得意先名称A TEXT,
    担当者コード TEXT,
    営業見積事業所コード TEXT,
    営業見積番号基準日付 TEXT,
    営業見積No TEXT,
    請求金額合計 NUMERIC,
    請求消費税合計 NUMERIC,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (事業所コード, 番号基準日付, 営業請求No)
);

-- Sales deliveries; the quotation they deliver is named by its key.
CREATE TABLE T営業納品 (
    事業所コード TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    営業納品No TEXT NOT NULL,
    営業納品日付 TEXT,
    得意先コード TEXT,
    得意先名称A TEXT,
    納品先コード TEXT,
    担当者コード TEXT,
    営業見積事業所コード TEXT,
    営業見積番号基準日付 TEXT,
    営業見積No TEXT,
    納品金額合計 NUMERIC,
    納品消費税合計 NUMERIC,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (事業所コード, 番号基準日付, 営業納品No)
);

-- Purchase orders to suppliers made from a quotation.
CREATE TABLE T営業発注 (
    事業所コード TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    営業発注No TEXT NOT NULL,
    営業発注日付 TEXT,
    仕入先コード TEXT,
    仕入先名称A TEXT,
    担当者コード TEXT,
    参照営業見積事業所コード TEXT,
    参照営業見積番号基準日付 TEXT,
    参照営業見積No TEXT,
    発注金額合計 NUMERIC,
    発注消費税合計 NUMERIC,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (事業所コード, 番号基準日付, 営業発注No)
);

-- Customer orders made from a quotation.
CREATE TABLE T顧客注文 (
    事業所コード TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    顧客注文No TEXT NOT NULL,
    顧客注文日付 TEXT,
    得意先コード TEXT,
    得意先名称A TEXT,
    担当者コード TEXT,
    参照営業見積事業所コード TEXT,
    参照営業見積番号基準日付 TEXT,
    参照営業見積No TEXT,
    注文金額合計 NUMERIC,
    注文消費税合計 NUMERIC,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (事業所コード, 番号基準日付, 顧客注文No)
);

-- View log: who opened which document when.
CREATE TABLE T閲覧 (
    事業所コード TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    閲覧No TEXT NOT NULL,
    閲覧日付 TEXT,
    閲覧時刻 TEXT,
    担当者コード TEXT,
    担当者名 TEXT,
    閲覧情報 TEXT,
    伝票事業所コード TEXT,
    伝票番号基準日付 TEXT,
    伝票No TEXT,
    キー項目 TEXT,
    閲覧区分 TEXT,
    閲覧メモ TEXT,
    承認日付 TEXT,
    承認者コード TEXT,
    承認区分 TEXT,
    ユーザID TEXT,
    登録日付 TEXT,
    更新日付 TEXT,
    PRIMARY KEY (事業所コード, 番号基準日付, 閲覧No)
);

-- Attachments of all programs: one row per attached file or folder, the copy lives in the document folder.
CREATE TABLE M付属書類 (
    情報名 TEXT NOT NULL,
    情報識別ID TEXT NOT NULL,
    SEQNo TEXT NOT NULL,
    書類名 TEXT,
    タイトル TEXT,
    伝票番号ID TEXT,
    伝票事業所コード TEXT,
    伝票番号基準日付 TEXT,
    伝票No TEXT,
    伝票日付 TEXT,
    対応先コード TEXT,
    得意先コード TEXT,
    納品先コード TEXT,
    仕入先コード TEXT,
    銀行コード TEXT,
    科目コード TEXT,
    社員コード TEXT,
    担当者コード TEXT,
    部門コード TEXT,
    セクションコード TEXT,
    商品コード TEXT,
    メーカコード TEXT,
    対象金額 NUMERIC,
    ユーザID TEXT,
    登録日付 TEXT,
    PRIMARY KEY (情報名, 情報識別ID, SEQNo)
);

-- Which program each computer and user ran last, and when it started and ended.
CREATE TABLE 使用状況 (
    コンピュータID TEXT NOT NULL,
    ユーザID TEXT NOT NULL,
    プログラムID TEXT,
    開始日時 TEXT,
    終了日時 TEXT,
    PRIMARY KEY (コンピュータID, ユーザID)
);

-- Saved and deleted documents waiting for the update program to aggregate them.
CREATE TABLE 未集計情報 (
    事業所コード TEXT NOT NULL,
    番号ID TEXT NOT NULL,
    番号基準日付 TEXT NOT NULL,
    履歴No TEXT NOT NULL,
    赤黒区分 TEXT NOT NULL,
    伝票No TEXT NOT NULL,
    追加キー項目 TEXT,
    データフラグ TEXT,
    登録情報区分 TEXT,
    予備項目 TEXT,
    PRIMARY KEY (事業所コード, 番号ID, 番号基準日付, 伝票No, 履歴No, 赤黒区分)
);

-- Reading paths of the entry screen that would otherwise scan every quotation
-- of an office: browsing in date order and the number list, and the check
-- of a history number at each save.
CREATE INDEX T営業見積_日付順 ON T営業見積 (事業所コード, 営業見積日付, 営業見積No);
CREATE INDEX T営業見積_番号順 ON T営業見積 (事業所コード, 営業見積No);
CREATE INDEX R営業見積_履歴No ON R営業見積 (事業所コード, 番号基準日付, 営業見積履歴No);
