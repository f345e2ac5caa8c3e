vs.1.1
m4x4	r2, v0, c0
mov	oPos, r2
mov	oD0.rgb, c4.y
mov	oD0.a, c5.a
mov	oT0, v1
