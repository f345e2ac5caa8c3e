vs.1.1
mov r0, c[a0.x + 300]
