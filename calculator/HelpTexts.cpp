#include "calculator/HelpTexts.h"

namespace quantivo {

const char* const WG26HelpText =
    "Number plate = hk 55 evb\r\r"
    "1. Turn into upper case = HK 55 EVB\r"
    "2. Remove spaces = HK55EVB\r"
    "3. SHA1(\"HK55EVB\") = A44F633C 8A6D1581 50CCEB3E F83D9DE0 BA80CF15\r"
    "4. Wiegand 26-bit output uses last 24 bits of SHA1 value = 0x80CF15\r"
    "5. Add leading and trailing parity bits according to wiegand 26-bit format\r\r"
    "The Wiegand 26-bit number shall be 0x3019E2A";

// \xAB and \xBB are the guillemets of Windows-1252.
const char* const WG64HelpText =
    "WIEGAND 64-BIT\r\r"
    "Number plate = hk 55 evb\r\r"
    "1. Turn into upper case = HK 55 EVB\r"
    "2. Remove spaces = HK55EVB\r"
    "3. First 4 bits are always 0110.\r"
    "4. Append 10 groups of 6 bits. Each 6-bit group contains a license plate character.\r"
    "     = 000000 000000 000000 100001 100100 010101 010101 011110 101111 011011.\r"
    "5. Convert binary to hex = 0x600002191555EBDB.\r\r"
    "The Wiegand 64-bit number shall be 0x600002191555EBDB\r\r"
    "\tCharacter conversion table:\r"
    "\t0=010000\tA=011010\tK=100100\tU=101110\r"
    "\t1=010001\tB=011011\tL=100101\tV=101111\r"
    "\t2=010010\tC=011100\tM=100110\tW=110000\r"
    "\t3=010011\tD=011101\tN=100111\tX=110001\r"
    "\t4=010100\tE=011110\tO=101000\tY=110010\r"
    "\t5=010101\tF=011111\tP=101001\tZ=110011\r"
    "\t6=010110\tG=100000\tQ=101010\t\r"
    "\t7=010111\tH=100001\tR=101011\t\r"
    "\t8=011000\tI=100010\tS=101100\t\xAB"
    "empty\xBB=000000\r"
    "\t9=011001\tJ=100011\tT=101101\t\xAB"
    "other\xBB=111111\r\r\r";

}  // namespace quantivo
