// The texts the ITEM table (two-column key ORD_NO, LINE_NO; indexes ITEM_IX1 and ITEM_PK) must
// produce, character for character.
#pragma once

#include <QString>

namespace quarnel::catalog::fixtures {

// The column list as CSV; every line ends with CR LF.
inline const QString kItemTableInfoCsv = QStringLiteral(
    "ITEM\r\n"
    ",,PK,NAME,SIZE,TYPE1,TYPE2,NULL\r\n"
    ",1,※,ORD_NO,6,NUMBER,Double,Not Null\r\n"
    ",2,※,LINE_NO,3,NUMBER,Double,Not Null\r\n"
    ",3,,PRODUCT,20,VARCHAR2,String,Null\r\n"
    ",4,,SHIP_DATE,7,DATE,Date,Null\r\n"
    ",5,,REMARKS,-,LONG,String,Null\r\n"
    ",6,,QTY,-,NUMBER,Double,Null\r\n");

// The column list as tab-separated text; every line ends with CR LF.
inline const QString kItemTableInfoTxt = QStringLiteral(
    "ITEM\r\n"
    "\tPK\tNAME\tSIZE\tTYPE1\tTYPE2\tNULL\r\n"
    "1\t※\tORD_NO\t6\tNUMBER\tDouble\tNot Null\r\n"
    "2\t※\tLINE_NO\t3\tNUMBER\tDouble\tNot Null\r\n"
    "3\t\tPRODUCT\t20\tVARCHAR2\tString\tNull\r\n"
    "4\t\tSHIP_DATE\t7\tDATE\tDate\tNull\r\n"
    "5\t\tREMARKS\t-\tLONG\tString\tNull\r\n"
    "6\t\tQTY\t-\tNUMBER\tDouble\tNull\r\n");

// The table script; no line end after the last line.
inline const QString kItemCreateTableSql = QStringLiteral(
    "CREATE TABLE ITEM(\r\n"
    "    ORD_NO    NUMBER(6)    NOT NULL,\r\n"
    "    LINE_NO    NUMBER(3)    NOT NULL,\r\n"
    "    PRODUCT    VARCHAR2(20)    NULL,\r\n"
    "    SHIP_DATE    DATE    NULL,\r\n"
    "    REMARKS    LONG    NULL,\r\n"
    "    QTY    NUMBER    NULL\r\n"
    ");\r\n"
    "\r\n"
    "ALTER TABLE ITEM\r\n"
    "    ADD ( PRIMARY KEY (ORD_NO, \r\n"
    "                       LINE_NO) ) ;");

// The index list as CSV; no line end after the last line.
inline const QString kItemIndexInfoCsv = QStringLiteral(
    "TEBLE_NAME,INDEX_NAME,CPOSI_NAME,COLUMN_NAME\r\n"
    "ITEM,ITEM_IX1,1,PRODUCT\r\n"
    ",,2,SHIP_DATE\r\n"
    ",ITEM_PK,1,ORD_NO\r\n"
    ",,2,LINE_NO");

// The index list as indented text; no line end after the last line.
inline const QString kItemIndexInfoTxt = QStringLiteral(
    "TEBLE_NAME/INDEX_NAME/CPOSI_NAME/COLUMN_NAME\r\n"
    "ITEM\r\n"
    "\tITEM_IX1\r\n"
    "\t\t1 PRODUCT\r\n"
    "\t\t2 SHIP_DATE\r\n"
    "\tITEM_PK\r\n"
    "\t\t1 ORD_NO\r\n"
    "\t\t2 LINE_NO");

// The index script; it ends with CR LF.
inline const QString kItemCreateIndexSql = QStringLiteral(
    "CREATE INDEX ITEM_IX1 ON \r\n"
    "    ITEM (\r\n"
    "        PRODUCT, \r\n"
    "        SHIP_DATE);\r\n"
    "CREATE INDEX ITEM_PK ON \r\n"
    "    ITEM (\r\n"
    "        ORD_NO, \r\n"
    "        LINE_NO);\r\n");

}  // namespace quarnel::catalog::fixtures
