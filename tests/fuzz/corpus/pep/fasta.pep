>P1 first
MKVLAAGIVG
>P2
WW
