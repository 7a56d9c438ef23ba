; The installer's own texts, in Italian; NSIS gives the rest of its pages in Italian itself.
LangString SezioneProgramma ${LANG_ITALIAN} "Brivanta IBAN"
LangString SezioneDesktop ${LANG_ITALIAN} "Collegamento sul desktop"
LangString DescrizioneCollegamento ${LANG_ITALIAN} "Calcola e verifica i codici IBAN italiani"
