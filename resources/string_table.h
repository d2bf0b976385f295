/*
 * The program's string table: one row per BRANTVELL_STRING(id, text), the
 * text in UTF-8. The includer defines BRANTVELL_STRING first; the C++ code
 * builds its lookup table from these rows and the resource script includes
 * them inside its STRINGTABLE block. No include guard: the rows are meant to
 * be expanded wherever they are included.
 *
 * Only escapes that both the C++ compiler and windres read the same way:
 * \\ for a backslash and \042 (octal) for a double quote.
 *
 * Row ids: 10 and 11 configure folders; the shortcut rows are
 * 100 * variant (1 CZ, 2 SK) + 10 * item (1 application, 2 help file,
 * 3 first-steps manual, 4 certification wizard, 5 bank web site)
 * + kind (1 name, 2 name with the language suffix, 5 target, 6 arguments).
 */

/* Start-menu group under the all-users programs folder. */
BRANTVELL_STRING(10, "Halvorna")
/* Registry value holding the application's install folder. */
BRANTVELL_STRING(11, "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe\\Path")

/* Czech variant. */
BRANTVELL_STRING(111, "Veldramona")
BRANTVELL_STRING(112, "Veldramona (CZ)")
BRANTVELL_STRING(115, "\\Loader.exe")
BRANTVELL_STRING(116, "/CID=\0420470\042")
BRANTVELL_STRING(121, "Nápověda")
BRANTVELL_STRING(122, "Nápověda (CZ)")
BRANTVELL_STRING(125, "\\veldramona.chm")
BRANTVELL_STRING(131, "Příručka – první kroky Veldramona")
BRANTVELL_STRING(132, "Příručka – první kroky Veldramona (CZ)")
BRANTVELL_STRING(135, "http://www.veldramona-bank.example/file/cs/veldramona_prvni_kroky.pdf")
BRANTVELL_STRING(141, "Certifikační průvodce")
BRANTVELL_STRING(142, "Certifikační průvodce")
BRANTVELL_STRING(145, "https://certifikaty.veldramona-bank.example/CertWizard.html#locale=cz")
BRANTVELL_STRING(151, "www.veldramona-bank.example")
BRANTVELL_STRING(155, "http://www.veldramona-bank.example")

/* Slovak variant. The wizard has no suffixed name: the combined set has no
   Slovak wizard shortcut. */
BRANTVELL_STRING(211, "Veldramona")
BRANTVELL_STRING(212, "Veldramona (SK)")
BRANTVELL_STRING(215, "\\Loader.exe")
BRANTVELL_STRING(216, "/CID=\0428470\042")
BRANTVELL_STRING(221, "Pomocník")
BRANTVELL_STRING(222, "Pomocník (SK)")
BRANTVELL_STRING(225, "\\veldramona_sk.chm")
BRANTVELL_STRING(231, "Príručka – prvé kroky Veldramona")
BRANTVELL_STRING(232, "Príručka – prvé kroky Veldramona (SK)")
BRANTVELL_STRING(235, "http://www.veldramona-bank.example/file/cs/veldramona_prvni_kroky_SK.pdf")
BRANTVELL_STRING(241, "Certifikačný sprievodca")
BRANTVELL_STRING(245, "https://certifikaty.veldramona-bank.example/CertWizard.html#locale=cz")
BRANTVELL_STRING(251, "www.veldramona-bank-sk.example")
BRANTVELL_STRING(255, "http://www.veldramona-bank-sk.example")
