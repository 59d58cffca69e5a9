-- Configuration database of an installation (conf/usrcnfg).
-- Every value is text; the programs of the suite compare codes, dates and
-- flags as text.

-- Where the business data lives: one row per kind of data source ('GNR' is the business database).
CREATE TABLE データベース定義 (
    情報種類 TEXT NOT NULL,
    db TEXT,
    プロバイダ名 TEXT,
    データソース名 TEXT,
    サーバー名 TEXT,
    データベース名 TEXT,
    ユーザーID TEXT,
    パスワード TEXT,
    PRIMARY KEY (情報種類)
);

-- Settings of the installation on this computer: operating office, folder layout, start-up staff, backup plan.
CREATE TABLE 動作環境定義 (
    動作環境定義ID TEXT NOT NULL,
    運用事業所コード TEXT,
    インストール区分 TEXT,
    起動担当者コード TEXT,
    更新実行区分 TEXT,
    バックアップ日付 TEXT,
    切替日付 TEXT,
    バックアップ方法 TEXT,
    バックアップ日 TEXT,
    バックアップ日曜区分 TEXT,
    バックアップ月曜区分 TEXT,
    バックアップ火曜区分 TEXT,
    バックアップ水曜区分 TEXT,
    バックアップ木曜区分 TEXT,
    バックアップ金曜区分 TEXT,
    バックアップ土曜区分 TEXT,
    バックアップ開始時刻 TEXT,
    バックアップフォルダ TEXT,
    PRIMARY KEY (動作環境定義ID)
);

-- Per staff member, business menu and program: what the member may do ("0" allows).
CREATE TABLE 担当者別操作許可プログラム (
    担当者コード TEXT NOT NULL,
    業務メニュ TEXT NOT NULL,
    プログラムID TEXT NOT NULL,
    操作許可 TEXT,
    入力許可 TEXT,
    修正許可 TEXT,
    削除許可 TEXT,
    印刷許可 TEXT,
    プレビュ許可 TEXT,
    テキスト出力許可 TEXT,
    イメージ出力許可 TEXT,
    PRIMARY KEY (担当者コード, 業務メニュ, プログラムID)
);

-- Operation log: start, logged statements, errors and end of every run.
-- No key: rows of parallel runs may share a time stamp and counter.
CREATE TABLE プログラム稼動履歴 (
    実行日付 TEXT,
    プログラムID TEXT,
    proccounter TEXT,
    摘要 TEXT,
    運用事業所コード TEXT,
    起動担当者コード TEXT,
    ユーザID TEXT
);

-- Program clipboard: document lines copied in one program for pasting in another.
CREATE TABLE プログラムクリップボード明細 (
    貼付日時 TEXT,
    貼付プログラムID TEXT,
    貼付連番 TEXT,
    貼付情報区分 TEXT,
    伝票番号ID TEXT,
    伝票事業所コード TEXT,
    伝票番号基準日付 TEXT,
    伝票No TEXT,
    伝票固有行No TEXT,
    伝票付加情報 TEXT,
    基本情報区分 TEXT,
    基本情報コード TEXT,
    基本情報明細コード TEXT,
    基本付加情報 TEXT,
    運用事業所コード TEXT,
    起動担当者コード TEXT,
    ユーザID TEXT
);

-- Linking messages: a start announcement ("00") and the reply of the started program ("99").
CREATE TABLE プログラム連携情報 (
    発信日時 TEXT,
    発信プログラムID TEXT,
    受信プログラムID TEXT,
    受信期限 TEXT,
    連携区分 TEXT,
    起動連携情報 TEXT,
    終了連携情報 TEXT,
    運用事業所コード TEXT,
    起動担当者コード TEXT,
    ユーザID TEXT
);

-- Business menu "Carnelo": one row per program with its processing category and the key items it accepts.
CREATE TABLE Carnelo (
    プログラムID TEXT NOT NULL,
    プログラム名称 TEXT,
    表示順 TEXT,
    処理分類 TEXT,
    条件項目名A TEXT,
    条件項目名B TEXT,
    条件項目名C TEXT,
    条件項目名D TEXT,
    条件項目名E TEXT,
    条件項目名F TEXT,
    条件項目名G TEXT,
    条件項目名H TEXT,
    条件項目名I TEXT,
    条件項目名J TEXT,
    条件項目名K TEXT,
    条件項目名L TEXT,
    条件項目名M TEXT,
    条件項目名N TEXT,
    条件項目名O TEXT,
    条件項目名P TEXT,
    条件項目名Q TEXT,
    条件項目名R TEXT,
    条件項目名S TEXT,
    条件項目名T TEXT,
    条件項目名U TEXT,
    条件項目名V TEXT,
    条件項目名W TEXT,
    条件項目名X TEXT,
    条件項目名Y TEXT,
    条件項目名Z TEXT,
    PRIMARY KEY (プログラムID)
);

-- Saved and deleted documents waiting for the update program (used when the update runs locally).
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
