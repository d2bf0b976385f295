# The shortcut catalogue as the tests expect it: the file sets of each
# variant and what every shortcut points at. Sourced after tests/support/program_runs.sh by the
# native end-to-end tests and by the Windows program's tests under Wine, so
# both programs are held to the same catalogue. Needs GROUP, DESKTOP and the
# expect_files / expect_lnk / expect_url checks of program_runs.sh.
# shellcheck shell=bash

APP='C:\Veldramona'

CZ_URL_MANUAL='http://www.veldramona-bank.example/file/cs/veldramona_prvni_kroky.pdf'
SK_URL_MANUAL='http://www.veldramona-bank.example/file/cs/veldramona_prvni_kroky_SK.pdf'
URL_WIZARD='https://certifikaty.veldramona-bank.example/CertWizard.html#locale=cz'
CZ_URL_SITE='http://www.veldramona-bank.example'
SK_URL_SITE='http://www.veldramona-bank-sk.example'

CZ_SET=('Veldramona.lnk' 'Nápověda.lnk' 'Příručka – první kroky Veldramona.url'
  'Certifikační průvodce.url' 'www.veldramona-bank.example.url')
SK_SET=('Veldramona.lnk' 'Pomocník.lnk' 'Príručka – prvé kroky Veldramona.url'
  'Certifikačný sprievodca.url' 'www.veldramona-bank-sk.example.url')
CZSK_SET=('Veldramona (CZ).lnk' 'Veldramona (SK).lnk' 'Nápověda (CZ).lnk' 'Pomocník (SK).lnk'
  'Příručka – první kroky Veldramona (CZ).url' 'Príručka – prvé kroky Veldramona (SK).url'
  'Certifikační průvodce.url' 'www.veldramona-bank.example.url'
  'www.veldramona-bank-sk.example.url')

# Each set, checked whole: the files of the group and the desktop, what the
# shortcuts point at.
expect_cz_set() {  # [APP_FOLDER]
  local app=${1:-$APP}
  expect_files "$GROUP" "${CZ_SET[@]}"
  expect_files "$DESKTOP" 'Veldramona.lnk'
  expect_lnk "$GROUP/Veldramona.lnk" "$app\\Loader.exe" '/CID="0470"' "$app"
  expect_lnk "$DESKTOP/Veldramona.lnk" "$app\\Loader.exe" '/CID="0470"' "$app"
  expect_lnk "$GROUP/Nápověda.lnk" "$app\\veldramona.chm" '' "$app"
  expect_url "$GROUP/Příručka – první kroky Veldramona.url" "$CZ_URL_MANUAL"
  expect_url "$GROUP/Certifikační průvodce.url" "$URL_WIZARD"
  expect_url "$GROUP/www.veldramona-bank.example.url" "$CZ_URL_SITE"
}

expect_sk_set() {
  expect_files "$GROUP" "${SK_SET[@]}"
  expect_files "$DESKTOP" 'Veldramona.lnk'
  expect_lnk "$GROUP/Veldramona.lnk" "$APP\\Loader.exe" '/CID="8470"' "$APP"
  expect_lnk "$DESKTOP/Veldramona.lnk" "$APP\\Loader.exe" '/CID="8470"' "$APP"
  expect_lnk "$GROUP/Pomocník.lnk" "$APP\\veldramona_sk.chm" '' "$APP"
  expect_url "$GROUP/Príručka – prvé kroky Veldramona.url" "$SK_URL_MANUAL"
  expect_url "$GROUP/Certifikačný sprievodca.url" "$URL_WIZARD"
  expect_url "$GROUP/www.veldramona-bank-sk.example.url" "$SK_URL_SITE"
}

expect_czsk_set() {  # [APP_FOLDER]
  local app=${1:-$APP}
  expect_files "$GROUP" "${CZSK_SET[@]}"
  expect_files "$DESKTOP" 'Veldramona (CZ).lnk' 'Veldramona (SK).lnk'
  expect_lnk "$DESKTOP/Veldramona (CZ).lnk" "$app\\Loader.exe" '/CID="0470"' "$app"
  expect_lnk "$DESKTOP/Veldramona (SK).lnk" "$app\\Loader.exe" '/CID="8470"' "$app"
  expect_lnk "$GROUP/Veldramona (CZ).lnk" "$app\\Loader.exe" '/CID="0470"' "$app"
  expect_lnk "$GROUP/Veldramona (SK).lnk" "$app\\Loader.exe" '/CID="8470"' "$app"
  expect_lnk "$GROUP/Nápověda (CZ).lnk" "$app\\veldramona.chm" '' "$app"
  expect_lnk "$GROUP/Pomocník (SK).lnk" "$app\\veldramona_sk.chm" '' "$app"
  expect_url "$GROUP/Příručka – první kroky Veldramona (CZ).url" "$CZ_URL_MANUAL"
  expect_url "$GROUP/Príručka – prvé kroky Veldramona (SK).url" "$SK_URL_MANUAL"
  expect_url "$GROUP/Certifikační průvodce.url" "$URL_WIZARD"
  expect_url "$GROUP/www.veldramona-bank.example.url" "$CZ_URL_SITE"
  expect_url "$GROUP/www.veldramona-bank-sk.example.url" "$SK_URL_SITE"
}
