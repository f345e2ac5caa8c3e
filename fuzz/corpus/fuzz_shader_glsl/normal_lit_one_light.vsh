vs.1.1
mov	oT0, v2
m4x4	r2, v0, c0
mov	oPos, r2
dp3	r6.x, v1.xyz, c6.xyz
max	r6.x, c4.x, r6.x
mul	r0.xyz, r6.xxx, c7
add	oD0.rgb,  r0.xyz, c5
mov	oD0.a, c4.y
