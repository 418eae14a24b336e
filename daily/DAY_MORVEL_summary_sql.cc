#include "DAY_MORVEL_summary_sql.h"

#include <string_view>

namespace daily {
namespace {

// The summary is one statement: 29 grouped SELECTs over the journal lines of one branch and
// one period (transfer lines, the other lines of cash vouchers, and the cash account's
// balances through the last day and before the first day), joined by UNION ALL and summed
// once more per code and title of the work table TEST_AC_CODE, which the account-code
// preparation fills with the chart's headings, balance classes and link codes beforehand.
// The section comments name each part of the summary; the frames of hyphens and the
// comments are part of the statement text as the database receives it.
constexpr std::string_view kStatement =
R"sql(SELECT A.AC_CODE,
       CR00      = SUM(T.CR01 + T.CR01_CASH),
       CR01      = SUM(T.CR01),
       CR01_CASH = SUM(T.CR01_CASH),
       AC_NAME   = RTRIM(A.AC_NAME_SISAN),
       DR01_CASH = SUM(T.DR01_CASH),
       DR01      = SUM(T.DR01),
       DR00      = SUM(T.DR01 + T.DR01_CASH)
FROM   (
)sql"
R"sql(          ------------------------------------------------------------------------------------------
          -- 1) 회계전표 계정과목의 생성된 계정과목에 대한 집계 === 시작
          -- 잔액 체크(JAN_CHECK) 15 를 제외한 모든 계정과목을 집계한다
          -- 잔액 체크 15 는 재고자산 중에서 관세환급금 부분이다
          -- 관세환급금은 재고자산에 속하지만 매출원가쪽의 관세환급금으로 표시한다
          SELECT AC_CODE,
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKubun_Bon) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKubun_Bon) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 JAN_CHECK NOT IN ('15')
          GROUP BY AC_CODE
          UNION ALL
          SELECT AC_CODE,
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKubun_Bon) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKubun_Bon) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 JAN_CHECK NOT IN ('15')
          GROUP BY AC_CODE
          UNION ALL
          --재고자산의 관세환급금을 매출원가쪽의 관세환급금으로 표시 방법
          SELECT AC_CODE   = CODE_MOVECODE,
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 JAN_CHECK IN ('15')
          GROUP BY CODE_MOVECODE
          UNION ALL
          SELECT AC_CODE   = CODE_MOVECODE,
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 JAN_CHECK IN ('15')
          GROUP BY CODE_MOVECODE
          UNION ALL
          -- 관세환급금이 있는 경우 매출원가에 대체 없이도 0(제로)로 표시 방법
          SELECT AC_CODE,
                 CR01      = 0,
                 CR01_CASH = 0,
                 DR01_CASH = 0,
                 DR01      = 0
          FROM   TEST_AC_CODE
          WHERE  AC_CODE IN (
                   SELECT AC_CODE = SUBSTRING(BB.CODE_MOVECODE,1,5) + '001000'
                   FROM   TEST_AC_CODE BB, ACCOUNT_JEN_AA CC
                   WHERE  BB.AC_CODE = CC.AC_JENCODE AND
                          CC.KUBUN_AMT NOT IN ('0') AND
                          BB.JAN_CHECK IN ('15') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                          AND NOT CC.DR_AMT IS NULL
                 )
          -- 1) 회계전표 계정과목의 생성된 계정과목에 대한 집계 === 종료
          ------------------------------------------------------------------------------------------
)sql"
R"sql(          UNION ALL
          ------------------------------------------------------------------------------------------
          -- 2) 자산 항목에서 유동자사,<당좌자산>,<재고자산>,고정자산<투자자산>,<유형자산>등의 집계 === 시작
          -- 대체부분 집계 => 당좌자산,재고자산,투자자산,유형자산,무형자산
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,5) + '000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('1') AND
                 JAN_CHECK IN ('10','17','20','23','25','27','30','70')
          GROUP BY SUBSTRING(AC_CODE,1,5) + '000000'
          UNION ALL
          -- 현금 지출및 입금 부분 집계 => 당좌자산,재고자산,투자자산,유형자산,무형자산
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,5) + '000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('1') AND
                 JAN_CHECK IN ('10','17','20','23','25','27','30','70')
          GROUP BY SUBSTRING(AC_CODE,1,5) + '000000'
          UNION ALL
          -- 대체부분 집계 => 유동자산,고정자산
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,3) + '00000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('1') AND
                 JAN_CHECK IN ('10','17','20','23','25','27','30','70')
          GROUP BY SUBSTRING(AC_CODE,1,3) + '00000000'
          UNION ALL
          -- 현금 지출및 입금 부분 집계 => 유동자산,고정자산
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,3) + '00000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('1') AND
                 JAN_CHECK IN ('10','17','20','23','25','27','30','70')
          GROUP BY SUBSTRING(AC_CODE,1,3) + '00000000'
          -- 2) 자산 항목에서 유동자사,<당좌자산>,<재고자산>,고정자산<투자자산>,<유형자산>등의 집계 === 종료
          ------------------------------------------------------------------------------------------
)sql"
R"sql(          UNION ALL
          ------------------------------------------------------------------------------------------
          -- 3) 부채,자본등 항목에서 유동부채,고정부채,자본금,자본잉여금,이익잉여금,자본조정등의 집계 === 시작
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,5) + '000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('2','3')
          GROUP BY SUBSTRING(AC_CODE,1,5) + '000000'
          UNION ALL
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,5) + '000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('2','3')
          GROUP BY SUBSTRING(AC_CODE,1,5) + '000000'
          -- 3) 부채,자본등 항목에서 유동부채,고정부채,자본금,자본잉여금,이익잉여금,자본조정등의 집계 === 종료
          ------------------------------------------------------------------------------------------
)sql"
R"sql(          UNION ALL
          ------------------------------------------------------------------------------------------
          -- 4) 손익 항목에서 손익,매출액,일반관리비,영업외수익,영업외비용,특별이익,특별손실,법인세등의 집계 === 시작
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,5) + '000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('4') AND
                 B_KUBUN IN ('01','02','07','09','10','12','13','15')
          GROUP BY SUBSTRING(AC_CODE,1,5) + '000000'
          UNION ALL
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,5) + '000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('4') AND
                 B_KUBUN IN ('01','02','07','09','10','12','13','15')
          GROUP BY SUBSTRING(AC_CODE,1,5) + '000000'
          -- 4) 손익 항목에서 손익,매출액,일반관리비,영업외수익,영업외비용,특별이익,특별손실,법인세등의 집계 === 종료
          ------------------------------------------------------------------------------------------
)sql"
R"sql(          UNION ALL
          ------------------------------------------------------------------------------------------
          -- 5) 손익 항목에서 매출원가의 집계 === 시작
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,3) + '00000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('4') AND
                 B_KUBUN IN ('03')
          GROUP BY SUBSTRING(AC_CODE,1,3) + '00000000'
          UNION ALL
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,3) + '00000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('4') AND
                 B_KUBUN IN ('03')
          GROUP BY SUBSTRING(AC_CODE,1,3) + '00000000'
          UNION ALL
          --재고자산의 관세환급금을 매출원가쪽의 관세환급금으로 표시 방법
          SELECT AC_CODE   = SUBSTRING(CODE_MOVECODE,1,3) + '00000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 JAN_CHECK IN ('15')
          GROUP BY SUBSTRING(CODE_MOVECODE,1,3) + '00000000'
          UNION ALL
          SELECT AC_CODE   = SUBSTRING(CODE_MOVECODE,1,3) + '00000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 JAN_CHECK IN ('15')
          GROUP BY SUBSTRING(CODE_MOVECODE,1,3) + '00000000'
          -- 5) 손익 항목에서 매출원가의 집계 === 종료
          ------------------------------------------------------------------------------------------
)sql"
R"sql(          UNION ALL
          ------------------------------------------------------------------------------------------
          -- 6) 손익 항목에서 제조원가와 원재료비,부재료비,노무비,제조경비등의 집계 === 시작
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,5) + '000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('4') AND
                 B_KUBUN IN ('04')
          GROUP BY SUBSTRING(AC_CODE,1,5) + '000000'
          UNION ALL
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,5) + '000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('4') AND
                 B_KUBUN IN ('04')
          GROUP BY SUBSTRING(AC_CODE,1,5) + '000000'
          UNION ALL
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,3) + '00000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('4') AND
                 B_KUBUN IN ('04')
          GROUP BY SUBSTRING(AC_CODE,1,3) + '00000000'
          UNION ALL
          SELECT AC_CODE   = SUBSTRING(AC_CODE,1,3) + '00000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE AND
                 A_KUBUN IN ('4') AND
                 B_KUBUN IN ('04')
          GROUP BY SUBSTRING(AC_CODE,1,3) + '00000000'
          -- 6) 손익 항목에서 제조원가와 원재료비,부재료비,노무비,제조경비등의 집계 === 종료
          ------------------------------------------------------------------------------------------
)sql"
R"sql(          UNION ALL
          ------------------------------------------------------------------------------------------
          -- 7) 일계표 내역중에서 해당 일자 범위에 대한 계정별 소계 부분 집계 == 시작
          SELECT AC_CODE   = '50805000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE
          UNION ALL
          SELECT AC_CODE   = '50805000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE
          -- 7) 일계표 내역중에서 해당 일자 범위에 대한 계정별 소계 부분 집계 == 종료
          ------------------------------------------------------------------------------------------
)sql"
R"sql(          UNION ALL
          ------------------------------------------------------------------------------------------
          -- 8) 일계표 내역중에서 해당 일자 범위의 현금 계정에 대한 당일(OR금일)잔고와 전일잔고 소계 부분 집계 == 시작
          -- 선택 기준일자 기준으로 현금 잔액 산출 내역
          SELECT AC_CODE   = '50806000000',
                 CR01      = SUM(ISNULL(RR.CR01,0)),
                 CR01_CASH = SUM(ISNULL(RR.CR01_CASH,0)),
                 DR01_CASH = SUM(ISNULL(RR.DR01_CASH,0)),
                 DR01      = SUM(ISNULL(RR.DR01,0))
          FROM   TEST_AC_CODE ,
                 (
                   -- 선택 기준일자 기준으로 현금 잔액 산출 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = (ISNULL(CR_AMT,0) - ISNULL(DR_AMT,0)),
                          DR01_CASH = 0,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  AC_JENCODE = '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY <= :tbEnd_Day)
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE
          UNION ALL
          -- 선택 기준일자 기준으로 전액 현금 잔액 산출 내역
          SELECT AC_CODE   = '50806000000',
                 CR01      = SUM(ISNULL(RR.CR01,0)),
                 CR01_CASH = SUM(ISNULL(RR.CR01_CASH,0)),
                 DR01_CASH = SUM(ISNULL(RR.DR01_CASH,0)),
                 DR01      = SUM(ISNULL(RR.DR01,0))
          FROM   TEST_AC_CODE ,
                 (
                   -- 선택 기준일자 기준으로 전일 현금 잔액 산출 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = 0,
                          DR01_CASH = (ISNULL(CR_AMT,0) - ISNULL(DR_AMT,0)),
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  AC_JENCODE = '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY < :tbFirst_Day)
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE
          -- 8) 일계표 내역중에서 해당 일자 범위의 현금 계정에 대한 당일(OR금일)잔고와 전일잔고 소계 부분 집계 == 종료
          ------------------------------------------------------------------------------------------
)sql"
R"sql(          UNION ALL
          ------------------------------------------------------------------------------------------
          -- 9) 전체 합계 부분.  즉 , 계정별 합계,금일소계, 금일잔고/전일잔고등의 집계 === 시작
          SELECT AC_CODE   = '50909000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역을 제외한 분개 내역
                   SELECT AC_JENCODE,
                          CR01      = CR_AMT,
                          CR01_CASH = 0,
                          DR01_CASH = 0,
                          DR01      = DR_AMT
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN NOT IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE
          UNION ALL
          SELECT AC_CODE   = '50909000000',
                 CR01      = SUM(RR.CR01),
                 CR01_CASH = SUM(RR.CR01_CASH),
                 DR01_CASH = SUM(RR.DR01_CASH),
                 DR01      = SUM(RR.DR01)
          FROM   TEST_AC_CODE ,
                 (
                   -- 분개 번호를 기준으로 현금 거래 분개 내역 중에서 현금으로 지출이나 입금된 상대 계정과목 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = CR_AMT,
                          DR01_CASH = DR_AMT,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  SERIAL_CRDR IN ('01','02') AND
                          KUBUN_AMT NOT IN ('0') AND
                          AC_JENCODE <> '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day) AND
                          SERIAL_JEN + SERIAL_BUN IN (
                                      SELECT DISTINCT SERIAL_JEN + SERIAL_BUN
                                      FROM   ACCOUNT_JEN_AA
                                      WHERE  KUBUN_AMT NOT IN ('0') AND
                                             AC_JENCODE = '10101001000' AND
                                             (KUBUN_BON = :tbKUBUN_BON) AND
                                             (DATE_DAY BETWEEN :tbFirst_Day AND :tbEnd_Day)
                                  )
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE
          UNION ALL
          -- 선택 기준일자 기준으로 현금 잔액 산출 내역
          SELECT AC_CODE   = '50909000000',
                 CR01      = SUM(ISNULL(RR.CR01,0)),
                 CR01_CASH = SUM(ISNULL(RR.CR01_CASH,0)),
                 DR01_CASH = SUM(ISNULL(RR.DR01_CASH,0)),
                 DR01      = SUM(ISNULL(RR.DR01,0))
          FROM   TEST_AC_CODE ,
                 (
                   -- 선택 기준일자 기준으로 현금 잔액 산출 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = (ISNULL(CR_AMT,0) - ISNULL(DR_AMT,0)),
                          DR01_CASH = 0,
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  AC_JENCODE = '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY <= :tbEnd_Day)
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE
          UNION ALL
          -- 선택 기준일자 기준으로 전액 현금 잔액 산출 내역
          SELECT AC_CODE   = '50909000000',
                 CR01      = SUM(ISNULL(RR.CR01,0)),
                 CR01_CASH = SUM(ISNULL(RR.CR01_CASH,0)),
                 DR01_CASH = SUM(ISNULL(RR.DR01_CASH,0)),
                 DR01      = SUM(ISNULL(RR.DR01,0))
          FROM   TEST_AC_CODE ,
                 (
                   -- 선택 기준일자 기준으로 전일 현금 잔액 산출 내역
                   SELECT AC_JENCODE,
                          CR01      = 0,
                          CR01_CASH = 0,
                          DR01_CASH = (ISNULL(CR_AMT,0) - ISNULL(DR_AMT,0)),
                          DR01      = 0
                   FROM   ACCOUNT_JEN_AA
                   WHERE  AC_JENCODE = '10101001000' AND
                          (KUBUN_BON = :tbKUBUN_BON) AND
                          (DATE_DAY < :tbFirst_Day)
                 ) RR
          WHERE  AC_CODE = RR.AC_JENCODE
          -- 9) 전체 합계 부분.  즉 , 계정별 합계,금일소계, 금일잔고/전일잔고등의 집계 === 종료
          ------------------------------------------------------------------------------------------
)sql"
R"sql(       ) T, TEST_AC_CODE A
WHERE  A.AC_CODE = T.AC_CODE
GROUP BY A.AC_CODE, A.AC_NAME_SISAN
ORDER BY A.AC_CODE
)sql";

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

}  // namespace

const std::vector<std::string>& summaryStatementLines() {
    static const std::vector<std::string> lines = splitLines(kStatement);
    return lines;
}

}  // namespace daily
