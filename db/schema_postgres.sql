-- The tables of db/schema.sql for a PostgreSQL server. CHAR(n) columns (bpchar) compare
-- without regard to trailing blanks, as the programs' statements expect. "||" on bpchar
-- drops trailing blanks, so the voucher number parts are stored at full width.
CREATE TABLE IF NOT EXISTS Test_Ac_Code (
    Serial_No       INTEGER,
    Code_Kubun      CHAR(2),
    A_Kubun         CHAR(1),
    B_Kubun         CHAR(2),
    C_Kubun         CHAR(2),
    D_Kubun         CHAR(3),
    E_Kubun         CHAR(3),
    Ac_Code         CHAR(12),
    Ac_Name         CHAR(90),
    Ac_Name_SiSan   CHAR(90),
    Ac_Name_Gita    CHAR(90),
    Jan_Check       CHAR(2),
    The_Code        CHAR(12),
    Code_MoveCode   CHAR(12),
    Code_TwoMove    CHAR(12),
    Code_ThreeMove  CHAR(12)
);
CREATE INDEX IF NOT EXISTS Test_Ac_Code_Ac_Code ON Test_Ac_Code (Ac_Code);

CREATE TABLE IF NOT EXISTS ACCOUNT_JEN_AA (
    AC_JENCODE   CHAR(12),
    CR_AMT       NUMERIC,
    DR_AMT       NUMERIC,
    SERIAL_CRDR  CHAR(2),
    KUBUN_AMT    CHAR(1),
    KUBUN_BON    CHAR(5),
    DATE_DAY     CHAR(10),
    YEAR_CHAR    CHAR(4),
    MONTH_CHAR   CHAR(2),
    SERIAL_JEN   CHAR(8) NOT NULL CHECK (length(SERIAL_JEN) = 8),
    SERIAL_BUN   CHAR(5) NOT NULL CHECK (length(SERIAL_BUN) = 5)
);
-- The summary statements read the lines of one branch and period, and the cash account's
-- lines of one branch; every index carries the columns they read, so that the lines come
-- from the index alone. The monthly statement's period is YEAR_CHAR + MONTH_CHAR, which
-- the engine writes rtrim(YEAR_CHAR || MONTH_CHAR): two indexes of its own.
CREATE INDEX IF NOT EXISTS ACCOUNT_JEN_AA_Bon_Day ON ACCOUNT_JEN_AA (KUBUN_BON, DATE_DAY)
    INCLUDE (AC_JENCODE, SERIAL_CRDR, KUBUN_AMT, SERIAL_JEN, SERIAL_BUN, CR_AMT, DR_AMT);
CREATE INDEX IF NOT EXISTS ACCOUNT_JEN_AA_Code_Bon_Day ON ACCOUNT_JEN_AA (AC_JENCODE, KUBUN_BON, DATE_DAY)
    INCLUDE (SERIAL_CRDR, KUBUN_AMT, SERIAL_JEN, SERIAL_BUN, CR_AMT, DR_AMT);
CREATE INDEX IF NOT EXISTS ACCOUNT_JEN_AA_Bon_Month ON ACCOUNT_JEN_AA (KUBUN_BON, (rtrim(YEAR_CHAR || MONTH_CHAR)))
    INCLUDE (AC_JENCODE, SERIAL_CRDR, KUBUN_AMT, SERIAL_JEN, SERIAL_BUN, CR_AMT, DR_AMT, YEAR_CHAR, MONTH_CHAR);
CREATE INDEX IF NOT EXISTS ACCOUNT_JEN_AA_Code_Bon_Month
    ON ACCOUNT_JEN_AA (AC_JENCODE, KUBUN_BON, (rtrim(YEAR_CHAR || MONTH_CHAR)))
    INCLUDE (SERIAL_CRDR, KUBUN_AMT, SERIAL_JEN, SERIAL_BUN, CR_AMT, DR_AMT, YEAR_CHAR, MONTH_CHAR);

CREATE TABLE IF NOT EXISTS Kubun_Table (
    Kubun_Code    CHAR(5) PRIMARY KEY,
    Kubun_Name    CHAR(20),
    Kubun_JangSo  CHAR(30)
);
